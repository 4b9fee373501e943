#include "engine/audio/SoundDecoder.h"

#include <algorithm>
#include <cstring>

namespace engine::audio {

SoundReader::SoundReader(SoundBytes bytes) : _bytes(std::move(bytes)) {}

SoundReader::~SoundReader() {
    if (_file) sf_close(_file);
}

sf_count_t SoundReader::vioLength(void* user) {
    auto* self = static_cast<SoundReader*>(user);
    return static_cast<sf_count_t>(self->_bytes->size());
}

sf_count_t SoundReader::vioSeek(sf_count_t offset, int whence, void* user) {
    auto* self = static_cast<SoundReader*>(user);
    const sf_count_t size = static_cast<sf_count_t>(self->_bytes->size());
    sf_count_t base = 0;
    if (whence == SEEK_CUR) base = self->_offset;
    if (whence == SEEK_END) base = size;
    const sf_count_t target = base + offset;
    if (target < 0 || target > size) return -1;
    self->_offset = target;
    return target;
}

sf_count_t SoundReader::vioRead(void* ptr, sf_count_t count, void* user) {
    auto* self = static_cast<SoundReader*>(user);
    const sf_count_t size = static_cast<sf_count_t>(self->_bytes->size());
    if (count <= 0 || self->_offset >= size) return 0;
    const sf_count_t n = std::min(count, size - self->_offset);
    std::memcpy(ptr, self->_bytes->data() + self->_offset, static_cast<size_t>(n));
    self->_offset += n;
    return n;
}

sf_count_t SoundReader::vioWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t SoundReader::vioTell(void* user) { return static_cast<SoundReader*>(user)->_offset; }

bool SoundReader::open() {
    if (_file) return true;
    if (!_bytes || _bytes->empty()) {
        _error = "empty file";
        return false;
    }
    SF_VIRTUAL_IO io{&vioLength, &vioSeek, &vioRead, &vioWrite, &vioTell};
    SF_INFO info{};
    _offset = 0;
    _file = sf_open_virtual(&io, SFM_READ, &info, this);
    if (!_file) {
        _error = sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.channels > 2) {
        _error = "unsupported channel count " + std::to_string(info.channels);
    } else if (info.samplerate < 1 || info.samplerate > kMaxSampleRate) {
        _error = "unsupported sample rate " + std::to_string(info.samplerate);
    }
    if (!_error.empty()) {
        sf_close(_file);
        _file = nullptr;
        return false;
    }
    _info.channels = info.channels;
    _info.sampleRate = info.samplerate;
    _info.frames = std::max<sf_count_t>(info.frames, 0);
    return true;
}

size_t SoundReader::read(int16_t* out, size_t maxFrames) {
    if (!_file || maxFrames == 0) return 0;
    const sf_count_t got = sf_readf_short(_file, out, static_cast<sf_count_t>(maxFrames));
    return got > 0 ? static_cast<size_t>(got) : 0;
}

bool SoundReader::seek(int64_t frame) {
    if (!_file) return false;
    return sf_seek(_file, frame, SEEK_SET) == frame;
}

bool decodeSound(const SoundBytes& bytes, int64_t maxFrames, PcmSound* out, std::string* error) {
    SoundReader reader(bytes);
    if (!reader.open()) {
        if (error) *error = reader.error();
        return false;
    }
    const int channels = reader.info().channels;
    constexpr size_t kChunkFrames = 16384;
    std::vector<int16_t> samples;
    int64_t total = 0;
    for (;;) {
        const size_t at = samples.size();
        samples.resize(at + kChunkFrames * static_cast<size_t>(channels));
        const size_t got = reader.read(samples.data() + at, kChunkFrames);
        samples.resize(at + got * static_cast<size_t>(channels));
        total += static_cast<int64_t>(got);
        if (total > maxFrames) {
            if (error) *error = "too long to keep decoded";
            return false;
        }
        if (got == 0) break;
    }
    if (total == 0) {
        if (error) *error = "no sound in the file";
        return false;
    }
    samples.shrink_to_fit();
    out->channels = channels;
    out->sampleRate = reader.info().sampleRate;
    out->samples = std::move(samples);
    return true;
}

}  // namespace engine::audio
