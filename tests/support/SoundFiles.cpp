#include "SoundFiles.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace testsupport {
namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

double field(const std::string& text, const char* name) {
    const size_t at = text.find(name);
    if (at == std::string::npos) return -1;
    const size_t colon = text.find(':', at);
    return colon == std::string::npos ? -1 : std::atof(text.c_str() + colon + 1);
}

bool writeMp3Tone(const std::string& path, double seconds, double frequency, int channels) {
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = channels;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    const auto frames = static_cast<size_t>(seconds * info.samplerate);
    std::vector<short> samples(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i) {
        const double v = 0.5 * std::sin(2 * M_PI * frequency * static_cast<double>(i) / info.samplerate);
        for (int c = 0; c < channels; ++c) samples[i * channels + c] = static_cast<short>(v * 32767);
    }
    const bool ok = sf_writef_short(file, samples.data(), static_cast<sf_count_t>(frames)) ==
                    static_cast<sf_count_t>(frames);
    return sf_close(file) == 0 && ok;
}

}  // namespace

bool makeTone(const std::string& path, double seconds, double frequency, int channels) {
    if (path.ends_with(".mp3")) return writeMp3Tone(path, seconds, frequency, channels);
    char command[512];
    std::snprintf(command, sizeof command, "sox -q -n -r 44100 -b 16 -c %d %s synth %.4f sine %.2f vol 0.5 2>/dev/null",
                  channels, quoted(path).c_str(), seconds, frequency);
    return std::system(command) == 0;
}

std::string audibleOnly() { return "silence 1 0.002 1% reverse silence 1 0.002 1% reverse"; }

SoundStat soxStat(const std::string& path, const std::string& effects) {
    const std::string command = "sox " + quoted(path) + " -n remix 1 " + effects + " stat 2>&1";
    SoundStat stat;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return stat;
    std::string text;
    char buffer[512];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    stat.ok = pclose(pipe) == 0;
    stat.length = field(text, "Length (seconds)");
    stat.rms = field(text, "RMS     amplitude");
    stat.frequency = field(text, "Rough   frequency");
    return stat;
}

}  // namespace testsupport
