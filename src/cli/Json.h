#pragma once
// A small streaming JSON writer for the command-line tool's reports. Texts must be UTF-8.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::cli {

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(std::int32_t number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(std::uint32_t number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(std::uint64_t number);
    JsonWriter& value(float number); // shortest text that reads back as the same float
    JsonWriter& value(bool flag);
    JsonWriter& null();

    const std::string& text() const { return out_; }

private:
    void separate();

    std::string out_;
    std::vector<bool> first_; // per open container: nothing written in it yet
    bool afterKey_ = false;
};

} // namespace vantor::cli
