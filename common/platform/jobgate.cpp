#include "common/platform/jobgate.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace dz::ui {

JobGate::~JobGate() = default;

void JobGate::hold(std::initializer_list<QWidget*> controls) {
    for (QWidget* w : controls)
        if (w) held_.emplace_back(w);
}

void JobGate::begin() {
    if (running_) return;
    running_ = true;
    cursor_ = std::make_unique<BusyCursor>();
    focusFrom_ = QApplication::focusWidget();
    saved_.clear();
    for (const QPointer<QWidget>& w : held_) {
        if (!w) continue;
        saved_.push_back({w, w->isEnabled()});
        w->setEnabled(false);
    }
    focusTo_ = QApplication::focusWidget();
}

void JobGate::end() {
    if (!running_) return;
    for (const Held& h : saved_)
        if (h.control) h.control->setEnabled(h.enabled);
    saved_.clear();
    // Back to the control the disabling took the focus from, unless the user moved it since.
    if (focusFrom_ && focusFrom_ != focusTo_ && QApplication::focusWidget() == focusTo_ && focusFrom_->isEnabled())
        focusFrom_->setFocus();
    focusFrom_ = focusTo_ = nullptr;
    cursor_.reset();
    running_ = false;
    emit ended();
}

bool JobGate::run(const std::function<void()>& work) {
    if (running_) return false;
    begin();
    QEventLoop loop;
    QThread* worker = QThread::create(work);
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    end();
    return true;
}

bool JobGate::wait(int timeoutMs) {
    if (!running_) return true;
    QEventLoop loop;
    connect(this, &JobGate::ended, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return !running_;
}

}  // namespace dz::ui
