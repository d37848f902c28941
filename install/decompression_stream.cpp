#include "install/decompression_stream.h"

#include <zlib.h>

#include "install/install_errors.h"

namespace qm {

struct TDecompressionStream::State {
    z_stream s{};
};

TDecompressionStream::TDecompressionStream(const uint8_t* data, uint32_t size,
                                           std::function<void(uint32_t)> onChunk)
    : z_(std::make_unique<State>()), data_(data), size_(size), onChunk_(std::move(onChunk)) {
    if (inflateInit(&z_->s) != Z_OK) throw EDecompressionError("zlib kann nicht gestartet werden");
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&z_->s); }

uint32_t TDecompressionStream::read(void* buffer, uint32_t count) {
    if (ended_ || count == 0) return 0;
    z_stream& s = z_->s;
    s.next_out = static_cast<Bytef*>(buffer);
    s.avail_out = count;
    while (s.avail_out > 0) {
        if (s.avail_in == 0) {
            if (consumed_ >= size_) throw EDecompressionError("die komprimierten Daten enden vorzeitig");
            const uint32_t take = std::min(ChunkSize, size_ - consumed_);
            s.next_in = const_cast<Bytef*>(data_ + consumed_);
            s.avail_in = take;
            consumed_ += take;
            if (onChunk_) onChunk_(consumed_);
        }
        int rc = inflate(&s, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            ended_ = true;
            break;
        }
        if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR)
            throw EDecompressionError(s.msg ? s.msg : "die komprimierten Daten sind ungültig");
        // Z_BUF_ERROR: no progress possible with this input; more input follows above.
    }
    return count - s.avail_out;
}

}  // namespace qm
