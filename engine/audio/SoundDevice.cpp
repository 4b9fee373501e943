#include "engine/audio/SoundDevice.h"

#include "engine/base/Log.h"

#include <atomic>

namespace engine::audio {

namespace {
std::atomic<bool> g_available{true};
}  // namespace

void SoundDevice::setAvailable(bool available) { g_available.store(available); }

std::unique_ptr<SoundDevice> SoundDevice::open() {
    if (!g_available.load()) {
        engine::log("audio: no sound device, playing silently");
        return nullptr;
    }
    std::unique_ptr<SoundDevice> device(new SoundDevice);
    device->_device = alcOpenDevice(nullptr);
    if (!device->_device) {
        engine::log("audio: no sound device, playing silently");
        return nullptr;
    }
    device->_context = alcCreateContext(device->_device, nullptr);
    if (!device->_context || alcMakeContextCurrent(device->_context) != ALC_TRUE) {
        engine::log("audio: the sound device gave no context, playing silently");
        return nullptr;
    }
    const ALCchar* name = alcGetString(device->_device, ALC_DEVICE_SPECIFIER);
    device->_name = name ? name : "";
    alListenerf(AL_GAIN, 1.0f);
    return device;
}

SoundDevice::~SoundDevice() {
    if (_context) {
        if (alcGetCurrentContext() == _context) alcMakeContextCurrent(nullptr);
        alcDestroyContext(_context);
    }
    if (_device) alcCloseDevice(_device);
}

}  // namespace engine::audio
