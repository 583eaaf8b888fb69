// Speaks words into WAV files with espeak-ng. The library keeps global state
// and is not thread-safe: every call on any instance is serialised here.
#ifndef LEXORA_TOOLS_LXAUDIO_SPEECHSYNTHESIZER_H
#define LEXORA_TOOLS_LXAUDIO_SPEECHSYNTHESIZER_H

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class CSpeechSynthesizer {
public:
    CSpeechSynthesizer() = default;
    virtual ~CSpeechSynthesizer() = default;
    CSpeechSynthesizer(const CSpeechSynthesizer&) = delete;
    CSpeechSynthesizer& operator=(const CSpeechSynthesizer&) = delete;

    // Starts the library with `voice` (an espeak-ng voice name such as
    // "en-us"). False with `error` set when the library or voice is missing.
    bool Initialise(const std::string& voice, std::string* error);

    // Speaks `text` (UTF-8 or 8-bit) into a complete 16-bit mono PCM WAV file.
    bool Speak(const std::string& text, std::vector<uint8_t>* wav);

    int SampleRate() const { return sampleRate; }

private:
    static std::mutex libraryLock;  // espeak-ng state is process-wide
    int sampleRate = 0;             // Hz, 0 until Initialise succeeded
};

// Wraps 16-bit mono samples into a RIFF/WAVE file.
std::vector<uint8_t> MakeWavFile(const std::vector<int16_t>& samples, int sampleRate);

#endif  // LEXORA_TOOLS_LXAUDIO_SPEECHSYNTHESIZER_H
