#pragma once
// Sound files held in memory, read through libsndfile: WAV, Ogg Vorbis, FLAC and
// MP3. Samples come out as signed 16-bit, interleaved, in the file's own rate.
//
// A file is taken when libsndfile recognises it and it has 1 or 2 channels and a
// rate from 1 Hz to kMaxSampleRate; anything else is refused. Frame counts given
// by a file's header are never trusted for allocation: reads follow the data.
// A SoundReader is used by one thread at a time.
#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace engine::audio {

inline constexpr int kMaxSampleRate = 384000;

using SoundBytes = std::shared_ptr<const std::vector<unsigned char>>;

struct SoundInfo {
    int channels = 0;
    int sampleRate = 0;
    int64_t frames = 0;  // as the header announces it (an estimate for MP3)

    double duration() const { return sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0.0; }
};

class SoundReader {
public:
    // Keeps the bytes alive while it reads them.
    explicit SoundReader(SoundBytes bytes);
    ~SoundReader();
    SoundReader(const SoundReader&) = delete;
    SoundReader& operator=(const SoundReader&) = delete;

    // False (and a reason in error()) when the file is not one we play.
    bool open();
    const SoundInfo& info() const { return _info; }
    const std::string& error() const { return _error; }

    // Reads up to maxFrames frames into out (channels samples per frame); the
    // frames read, 0 at the end or after a decoding error.
    size_t read(int16_t* out, size_t maxFrames);
    // Moves to a frame from the start; false when the file cannot seek there.
    bool seek(int64_t frame);

private:
    static sf_count_t vioLength(void* user);
    static sf_count_t vioSeek(sf_count_t offset, int whence, void* user);
    static sf_count_t vioRead(void* ptr, sf_count_t count, void* user);
    static sf_count_t vioWrite(const void* ptr, sf_count_t count, void* user);
    static sf_count_t vioTell(void* user);

    SoundBytes _bytes;
    sf_count_t _offset = 0;
    SNDFILE* _file = nullptr;
    SoundInfo _info;
    std::string _error;
};

// A whole sound decoded at once: what effects keep in the cache.
struct PcmSound {
    int channels = 0;
    int sampleRate = 0;
    std::vector<int16_t> samples;  // interleaved

    size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
    double duration() const { return sampleRate > 0 ? static_cast<double>(frames()) / sampleRate : 0.0; }
};

// Decodes every frame; false (with the reason) when the file is refused, holds
// no frame at all, or decodes to more than maxFrames frames.
bool decodeSound(const SoundBytes& bytes, int64_t maxFrames, PcmSound* out, std::string* error);

}  // namespace engine::audio
