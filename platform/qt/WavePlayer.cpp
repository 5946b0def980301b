#include "platform/qt/WavePlayer.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace platform::qt {

namespace {
QString wavePath(int resource) { return QStringLiteral(":/waves/%1.wav").arg(resource); }

bool audioOutputPresent() { return !QMediaDevices::defaultAudioOutput().isNull(); }
}  // namespace

WavePlayer::WavePlayer(std::function<void()> beep, QObject* parent)
    : QObject(parent), beep_(std::move(beep)) {}

WavePlayer::~WavePlayer() {
    for (auto& [n, e] : effects_) e->stop();
}

bool WavePlayer::hasWave(int resource) { return QFile::exists(wavePath(resource)); }

QSoundEffect* WavePlayer::effect(int resource) {
    auto it = effects_.find(resource);
    if (it != effects_.end()) return it->second;
    auto* e = new QSoundEffect(this);
    connect(e, &QSoundEffect::statusChanged, this, [this, e] { onStatusChanged(e); });
    e->setSource(QUrl(QStringLiteral("qrc") + wavePath(resource)));
    effects_[resource] = e;
    return e;
}

void WavePlayer::preload(const std::vector<int>& resources) {
    if (!audioOutputPresent()) return;
    for (int r : resources) {
        if (hasWave(r)) effect(r);
    }
}

void WavePlayer::play(int resource) {
    if (current_ != nullptr) current_->stop();
    current_ = nullptr;
    if (!hasWave(resource) || !audioOutputPresent()) {
        beep_();
        return;
    }
    QSoundEffect* e = effect(resource);
    if (e->status() == QSoundEffect::Error) {
        beep_();
        return;
    }
    current_ = e;
    e->play();   // a wave still loading starts once it is ready
}

void WavePlayer::onStatusChanged(QSoundEffect* e) {
    if (e->status() != QSoundEffect::Error) return;
    if (e == current_) {
        current_ = nullptr;
        beep_();
    }
}

}  // namespace platform::qt
