#pragma once
// The per-corner values of one face: its vertex indices, or one of its texture coordinates.
// Nearly every face of a model has three or four corners, so a list holds up to four values in
// itself and only a larger face takes a heap block: a model of millions of faces then costs no
// allocation per face, neither to read nor to free. A value type with the part of a vector's
// interface that the program uses.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <new>
#include <stdexcept>
#include <type_traits>

namespace vantor {

template <class T>
class CornerList {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>,
                  "corner values are copied as bytes");

public:
    using value_type = T;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using const_reference = const T&;
    using pointer = T*;
    using const_pointer = const T*;
    using iterator = T*;
    using const_iterator = const T*;

    // Values held without a heap block.
    static constexpr size_type kInlineCapacity = 4;

    CornerList() noexcept {}
    CornerList(size_type count, const T& value) { assign(count, value); }
    CornerList(std::initializer_list<T> values) { assign(values.begin(), values.end()); }
    template <std::forward_iterator It>
    CornerList(It first, It last) {
        assign(first, last);
    }
    CornerList(const CornerList& other) { assign(other.begin(), other.end()); }
    CornerList(CornerList&& other) noexcept { takeFrom(other); }
    ~CornerList() { releaseHeap(); }

    CornerList& operator=(const CornerList& other) {
        if (this != &other) {
            assign(other.begin(), other.end());
        }
        return *this;
    }
    CornerList& operator=(CornerList&& other) noexcept {
        if (this != &other) {
            releaseHeap();
            takeFrom(other);
        }
        return *this;
    }
    CornerList& operator=(std::initializer_list<T> values) {
        assign(values.begin(), values.end());
        return *this;
    }

    size_type size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    size_type capacity() const noexcept { return capacity_; }
    // Heap bytes held besides the list itself: 0 for a list of up to kInlineCapacity values.
    size_type heapBytes() const noexcept { return onHeap() ? capacity_ * sizeof(T) : 0; }

    T* data() noexcept { return onHeap() ? heap_ : inline_; }
    const T* data() const noexcept { return onHeap() ? heap_ : inline_; }
    iterator begin() noexcept { return data(); }
    iterator end() noexcept { return data() + size_; }
    const_iterator begin() const noexcept { return data(); }
    const_iterator end() const noexcept { return data() + size_; }
    T& operator[](size_type i) noexcept { return data()[i]; }
    const T& operator[](size_type i) const noexcept { return data()[i]; }
    T& front() noexcept { return data()[0]; }
    const T& front() const noexcept { return data()[0]; }
    T& back() noexcept { return data()[size_ - 1]; }
    const T& back() const noexcept { return data()[size_ - 1]; }

    void clear() noexcept { size_ = 0; }

    void reserve(size_type count) {
        if (count > capacity_) {
            moveToHeap(count);
        }
    }

    // New values are zero, as a vector's are.
    void resize(size_type count) { resize(count, T{}); }
    void resize(size_type count, const T& value) {
        reserve(count);
        if (count > size_) {
            std::fill(data() + size_, data() + count, value);
        }
        size_ = static_cast<std::uint32_t>(count);
    }

    void assign(size_type count, const T& value) {
        clear();
        resize(count, value);
    }
    template <std::forward_iterator It>
    void assign(It first, It last) {
        const auto count = static_cast<size_type>(std::distance(first, last));
        clear();
        reserve(count);
        std::copy(first, last, data());
        size_ = static_cast<std::uint32_t>(count);
    }

    void push_back(const T& value) {
        if (size_ == capacity_) {
            const T copy = value; // value may live in this list, which is about to move
            moveToHeap(size_type{capacity_} * 2);
            data()[size_++] = copy;
            return;
        }
        data()[size_++] = value;
    }

    friend bool operator==(const CornerList& a, const CornerList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    bool onHeap() const noexcept { return capacity_ > kInlineCapacity; }

    // Moves the values into a heap block of room for count (> capacity) values.
    void moveToHeap(size_type count) {
        if (count > std::numeric_limits<std::uint32_t>::max()) {
            throw std::length_error("CornerList");
        }
        T* block = static_cast<T*>(::operator new(count * sizeof(T)));
        std::memcpy(block, data(), size_ * sizeof(T));
        releaseHeap();
        heap_ = block;
        capacity_ = static_cast<std::uint32_t>(count);
    }

    void releaseHeap() noexcept {
        if (onHeap()) {
            ::operator delete(heap_);
        }
    }

    // Takes other's values (and its heap block) and leaves other empty.
    void takeFrom(CornerList& other) noexcept {
        size_ = other.size_;
        capacity_ = other.capacity_;
        if (other.onHeap()) {
            heap_ = other.heap_;
        } else {
            std::memcpy(inline_, other.inline_, size_ * sizeof(T));
        }
        other.size_ = 0;
        other.capacity_ = kInlineCapacity;
    }

    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = kInlineCapacity;
    union {
        T inline_[kInlineCapacity];
        T* heap_;
    };
};

} // namespace vantor
