#pragma once
// Memory services beyond what the language offers.

#include <cstddef>

namespace vantor {

// Gives the pages of [data, data + bytes) their memory now, in one request, ahead of a loop
// that fills the whole range: left to first touch, every 4 KiB page costs a fault of its own,
// and for the tables of a large model those faults take a good part of the time it takes to
// fill them. The contents do not change. Only a hint: where the system cannot, nothing happens
// and the pages get their memory as they are touched.
void populateForWriting(void* data, std::size_t bytes);

} // namespace vantor
