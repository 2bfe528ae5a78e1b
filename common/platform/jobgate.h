// What a window's controls do while one of its jobs runs (an evaluation on a worker thread, a
// count), decided in one place.
#pragma once
#include "common/platform/services.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace dz::ui {

// While a job runs the pointer is the hourglass and the held controls (the buttons that start
// other work) are disabled; at its end each gets back its own enabled state, and the keyboard
// focus returns where the disabling moved it from. Controls that stay usable meanwhile (a list
// to scroll, a box to type in) route their handlers through whenIdle(), so that such a click does
// nothing. Whatever is neither (a stop button, the close box) acts as ever.
class JobGate : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~JobGate() override;

    // The controls that do nothing while a job runs.
    void hold(std::initializer_list<QWidget*> controls);
    bool running() const { return running_; }

    // The job's start and end (end() does nothing while none runs).
    void begin();
    void end();

    // Runs work on a worker thread as a job and returns when it is done; the window takes its
    // events meanwhile (a nested event loop, no polling). False, with nothing run, while a job runs.
    bool run(const std::function<void()>& work);
    // Waits for the running job's end, the window taking its events meanwhile; false when
    // timeoutMs passed first.
    bool wait(int timeoutMs);

    // A handler that acts only while no job runs.
    template <class W, class... A>
    auto whenIdle(W* w, void (W::*handler)(A...)) const {
        return [this, w, handler](A... a) {
            if (!running_) (w->*handler)(a...);
        };
    }
    std::function<void()> whenIdle(std::function<void()> f) const {
        return [this, f = std::move(f)] {
            if (!running_) f();
        };
    }

signals:
    void ended();

private:
    struct Held {
        QPointer<QWidget> control;
        bool enabled;
    };
    std::vector<QPointer<QWidget>> held_;
    std::vector<Held> saved_;
    QPointer<QWidget> focusFrom_, focusTo_;
    std::unique_ptr<BusyCursor> cursor_;
    bool running_ = false;
};

}  // namespace dz::ui
