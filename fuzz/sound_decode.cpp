// Any bytes as a sound file (WAV, Ogg Vorbis, FLAC, MP3): the reader refuses it or
// gives frames within its announced shape, the whole decode keeps to its frame
// limit, and the audio layer, with no device, plays it or refuses it; never a read
// past the end, a leak or an unbounded allocation.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "engine/audio/AudioEngine.h"
#include "engine/audio/SoundDecoder.h"
#include "engine/audio/SoundDevice.h"
#include "fuzz/FuzzSupport.h"

using engine::experimental::AudioEngine;
using fuzzsupport::check;

namespace {

constexpr int64_t kMaxFrames = 1 << 20;

// The file the layer reads, in a scratch folder removed at exit with the layer ended.
struct Scratch {
    Scratch() : folder(fuzzsupport::makeScratchFolder("vexo-fuzz-sound")), file(folder + "/input.snd") {
        engine::audio::SoundDevice::setAvailable(false);
    }
    ~Scratch() {
        AudioEngine::end();
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    std::string file;
};

const std::string& scratchFile() {
    static Scratch scratch;
    return scratch.file;
}

}  // namespace

// libsndfile leaves libvorbis's header state behind when a damaged Ogg Vorbis
// stream fails to open (inside the system libraries, out of our reach): not
// reported, so that the target goes on finding our own faults.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbis.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto bytes = std::make_shared<const std::vector<unsigned char>>(data, data + size);

    engine::audio::SoundReader reader(bytes);
    if (reader.open()) {
        const engine::audio::SoundInfo info = reader.info();
        check(info.channels >= 1 && info.channels <= 2, "channels");
        check(info.sampleRate >= 1 && info.sampleRate <= engine::audio::kMaxSampleRate, "rate");
        std::vector<int16_t> chunk(4096 * static_cast<size_t>(info.channels));
        int64_t frames = 0;
        while (frames < kMaxFrames) {
            const size_t got = reader.read(chunk.data(), 4096);
            check(got <= 4096, "chunk size");
            if (got == 0) break;
            frames += static_cast<int64_t>(got);
        }
        if (reader.seek(0)) reader.read(chunk.data(), 4096);
    }

    engine::audio::PcmSound sound;
    std::string error;
    if (engine::audio::decodeSound(bytes, kMaxFrames, &sound, &error)) {
        check(sound.frames() > 0 && static_cast<int64_t>(sound.frames()) <= kMaxFrames, "decoded length");
        check(sound.samples.size() == sound.frames() * static_cast<size_t>(sound.channels), "whole frames");
    } else {
        check(!error.empty(), "a refusal says why");
    }

    // The layer, silent: it plays what it can and lets go of it.
    FILE* file = std::fopen(scratchFile().c_str(), "wb");
    check(file != nullptr, "scratch file");
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
    const int id = AudioEngine::play2d(scratchFile());
    if (id != AudioEngine::INVALID_AUDIO_ID) {
        check(AudioEngine::getDuration(id) >= 0, "duration");
        AudioEngine::setCurrentTime(id, AudioEngine::getDuration(id) / 2);
    }
    AudioEngine::uncacheAll();
    return 0;
}
