#pragma once
// Sound fixtures made at test time, and what sox hears in a recorded file.
#include <string>

namespace testsupport {

// A 16-bit sine tone of `seconds` at `frequency` Hz and half of full scale, 44.1 kHz,
// written by sox in the format its extension names (.wav, .ogg, .flac); .mp3 is
// written through libsndfile (sox here has no MP3 encoder). False when it failed.
bool makeTone(const std::string& path, double seconds, double frequency = 440.0, int channels = 1);

struct SoundStat {
    bool ok = false;
    double length = 0;     // seconds
    double rms = 0;        // RMS amplitude, full scale 1
    double frequency = 0;  // sox's rough frequency
};

// `sox <path> -n remix 1 <effects> stat` (the first channel only): effects such as
// "trim 0.2 0.1", or audibleOnly() to measure what lies between the first and the
// last sound above 1 % of full scale.
SoundStat soxStat(const std::string& path, const std::string& effects = "");
std::string audibleOnly();

}  // namespace testsupport
