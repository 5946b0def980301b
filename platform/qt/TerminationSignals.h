// SIGTERM, SIGINT and SIGHUP, turned into a call on the GUI thread: the
// handler only writes to a pipe, and a socket notifier reads it from the
// event loop (any event loop, a modal one included).
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace platform::qt {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; onSignal runs once per signal received.
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~TerminationSignals() override;

    bool installed() const { return installed_; }

private:
    void drain();

    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

}  // namespace platform::qt
