#pragma once

#include <QApplication>

// The program's application object: an error that escapes an event handler is shown as a
// critical message with its description instead of ending the program unexplained.
class CorvessaApplication : public QApplication {
    Q_OBJECT
public:
    CorvessaApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

#include <functional>

// Sets the one interface font of the program, which every screen inherits: a sans face of 8
// points, the size the screens' designs give their captions room for.
void UseInterfaceFont();

// Runs start-up (Main, unless another start is given) and the event loop; returns the
// program's exit status. An error that escapes start-up is shown as a critical message with its
// description and gives a non-zero status.
int RunProgram(QApplication& app, const std::function<void()>& start = {});
