#include "tools/lxaudio/SpeechSynthesizer.h"

#include <espeak-ng/speak_lib.h>

#include <cstring>

namespace {

constexpr size_t kWavHeaderSize = 44;

// Receives the samples of the synthesis in progress; set and read only while
// the library lock is held.
std::vector<int16_t>* currentSamples = nullptr;

int CollectSamples(short* samples, int count, espeak_EVENT*) {
    if (samples != nullptr && count > 0 && currentSamples != nullptr) {
        currentSamples->insert(currentSamples->end(), samples, samples + count);
    }
    return 0;
}

void StoreLittleEndian(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::mutex CSpeechSynthesizer::libraryLock;

bool CSpeechSynthesizer::Initialise(const std::string& voice, std::string* error) {
    std::lock_guard<std::mutex> guard(libraryLock);
    int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) {
        *error = "espeak-ng could not start (is espeak-ng-data installed?)";
        return false;
    }
    espeak_SetSynthCallback(CollectSamples);
    if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) {
        *error = "espeak-ng has no voice " + voice;
        return false;
    }
    espeak_SetParameter(espeakRATE, 150, 0);
    sampleRate = rate;
    return true;
}

bool CSpeechSynthesizer::Speak(const std::string& text, std::vector<uint8_t>* wav) {
    if (sampleRate == 0) return false;
    std::vector<int16_t> samples;
    {
        std::lock_guard<std::mutex> guard(libraryLock);
        currentSamples = &samples;
        espeak_ERROR result = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                           espeakCHARS_AUTO, nullptr, nullptr);
        currentSamples = nullptr;
        if (result != EE_OK) return false;
    }
    if (samples.empty()) return false;
    *wav = MakeWavFile(samples, sampleRate);
    return true;
}

std::vector<uint8_t> MakeWavFile(const std::vector<int16_t>& samples, int sampleRate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    const uint32_t rate = static_cast<uint32_t>(sampleRate);
    std::vector<uint8_t> out(kWavHeaderSize + dataBytes);
    uint8_t* header = out.data();
    memcpy(header, "RIFF", 4);
    StoreLittleEndian(header + 4, 36 + dataBytes, 4);
    memcpy(header + 8, "WAVEfmt ", 8);
    StoreLittleEndian(header + 16, 16, 4);        // format chunk size
    StoreLittleEndian(header + 20, 1, 2);         // PCM
    StoreLittleEndian(header + 22, 1, 2);         // mono
    StoreLittleEndian(header + 24, rate, 4);      // samples per second
    StoreLittleEndian(header + 28, rate * 2, 4);  // bytes per second
    StoreLittleEndian(header + 32, 2, 2);         // bytes per frame
    StoreLittleEndian(header + 34, 16, 2);        // bits per sample
    memcpy(header + 36, "data", 4);
    StoreLittleEndian(header + 40, dataBytes, 4);
    for (size_t i = 0; i < samples.size(); ++i) {
        StoreLittleEndian(header + kWavHeaderSize + 2 * i, static_cast<uint16_t>(samples[i]), 2);
    }
    return out;
}
