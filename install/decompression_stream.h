#pragma once
// A zlib (RFC 1950) decompressor that reads its compressed input from memory in chunks
// of 64 KiB and reports each chunk before inflating it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qm {

class TDecompressionStream {
public:
    static constexpr uint32_t ChunkSize = 65536;
    // `onChunk` runs each time a new chunk was taken, with the bytes consumed so far.
    TDecompressionStream(const uint8_t* data, uint32_t size, std::function<void(uint32_t consumed)> onChunk);
    ~TDecompressionStream();
    TDecompressionStream(const TDecompressionStream&) = delete;
    TDecompressionStream& operator=(const TDecompressionStream&) = delete;

    // Up to `count` decompressed bytes; 0 once the stream has ended. Corrupt or truncated
    // data raises EDecompressionError.
    uint32_t read(void* buffer, uint32_t count);
    uint32_t position() const { return consumed_; }  // compressed bytes taken so far

private:
    struct State;
    std::unique_ptr<State> z_;
    const uint8_t* data_;
    uint32_t size_;
    uint32_t consumed_ = 0;
    bool ended_ = false;
    std::function<void(uint32_t)> onChunk_;
};

}  // namespace qm
