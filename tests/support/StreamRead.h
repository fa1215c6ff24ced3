#pragma once
// Reading a pseudo-terminal, pipe or socket in tests. Bytes come when the other side
// writes them, one at a time or in bursts, and a loaded machine delays them: a test
// reads until it has what it wants or its deadline passes, never once expecting a count.
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace kolvaro::test {

using StreamBytes = std::vector<std::uint8_t>;

// Reads from fd (blocking or not) until `enough` holds for what has been read, the
// deadline passes, or the far end is gone. Returns everything read.
StreamBytes readUntil(int fd, const std::function<bool(const StreamBytes&)>& enough,
                      std::chrono::milliseconds deadline);

// Reads until `count` bytes have come (or the deadline passes); returns what came.
StreamBytes readCount(int fd, std::size_t count, std::chrono::milliseconds deadline);

// Reads whatever is waiting right now, without waiting for more.
StreamBytes readWaiting(int fd);

}  // namespace kolvaro::test
