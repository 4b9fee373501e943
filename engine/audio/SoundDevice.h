#pragma once
// The OpenAL output: the default device with one context, made current for the
// whole process. open() answers null when there is no device (no sound card, no
// sound server): the audio layer then keeps time by the clock and stays silent.
// Creating and destroying one is done by the audio layer's owner thread; OpenAL
// calls on its sources and buffers may then come from any thread.
#include <AL/al.h>
#include <AL/alc.h>

#include <memory>
#include <string>

namespace engine::audio {

class SoundDevice {
public:
    static std::unique_ptr<SoundDevice> open();
    // While false, open() answers null as on a machine without a device (for
    // tests of the silent layer: OpenAL reads its configuration once a process).
    static void setAvailable(bool available);
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    const std::string& name() const { return _name; }

    // The buffer format for 16-bit samples of 1 or 2 channels.
    static ALenum format(int channels) { return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16; }

private:
    SoundDevice() = default;
    ALCdevice* _device = nullptr;
    ALCcontext* _context = nullptr;
    std::string _name;
};

}  // namespace engine::audio
