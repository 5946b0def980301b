// Plays the program's wave resources asynchronously, one at a time.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <vector>

class QSoundEffect;

namespace platform::qt {

class WavePlayer : public QObject {
    Q_OBJECT
public:
    // beep: what plays instead of a wave that cannot be played.
    explicit WavePlayer(std::function<void()> beep, QObject* parent = nullptr);
    ~WavePlayer() override;

    // Stops the wave playing and starts ":/waves/<resource>.wav"; the beep
    // instead when the resource is missing, there is no audio output, or the
    // sound fails to load.
    void play(int resource);

    // Whether a wave of that number exists among the resources.
    static bool hasWave(int resource);

    // Loads the given waves ahead of their first use.
    void preload(const std::vector<int>& resources);

private:
    QSoundEffect* effect(int resource);
    void onStatusChanged(QSoundEffect* effect);

    std::function<void()> beep_;
    std::map<int, QSoundEffect*> effects_;
    QSoundEffect* current_ = nullptr;
};

}  // namespace platform::qt
