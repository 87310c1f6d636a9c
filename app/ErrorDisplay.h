// The one place where an error that escapes a handler is shown: its text in a message box,
// and back to the event loop with the rest of the handler skipped.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace errordisplay {

void show(const std::exception &error);
void show(const QString &message);

// Runs work; an exception it throws is shown instead of reaching Qt.
void run(const std::function<void()> &work);

// A slot for connect(): calls (object->*handler)(signal arguments...) under run().
template <class Object, class... Args>
auto guarded(Object *object, void (Object::*handler)(Args...))
{
    return [object, handler](Args... args) { run([&] { (object->*handler)(args...); }); };
}

} // namespace errordisplay

// The last line of defence for exceptions thrown from event handlers that were not
// connected through guarded() (paint, key and close events).
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
};
