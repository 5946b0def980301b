// Plays the program's wave resources asynchronously, one at a time, on the
// desktop's sound server; the default beep where there is none.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/qt/WaveData.h"

namespace platform::qt {

class PulseOutput;

class WavePlayer : public QObject {
    Q_OBJECT
public:
    // beep: what plays instead of a wave that cannot be played; always
    // called on the thread that owns the player.
    explicit WavePlayer(std::function<void()> beep, QObject* parent = nullptr);
    ~WavePlayer() override;

    // Decodes the given waves and starts connecting to the sound server. Kept
    // out of start-up so that the first window is not held up by it.
    void prepare(const std::vector<int>& resources);

    // Stops the wave playing and starts ":/waves/<resource>.wav"; the beep
    // instead when the resource is missing or unreadable, or no sound server
    // takes it.
    void play(int resource);

    // Whether a wave of that number exists among the resources.
    static bool hasWave(int resource);
    // The decoded wave of a resource; nothing when it is missing or unreadable.
    static std::optional<WaveData> loadWave(int resource);

private:
    const WaveData* wave(int resource);

    std::function<void()> beep_;
    std::map<int, std::optional<WaveData>> waves_;   // decoded once, kept for the run
    std::unique_ptr<PulseOutput> output_;
};

}  // namespace platform::qt
