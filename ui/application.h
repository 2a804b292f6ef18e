#pragma once

#include <QApplication>

#include <functional>
#include <memory>

namespace tarnel {

class TForm1;

// Tarnel's application object: its identity, the main window it owns, and
// the standard error box.
class Application final : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);
    ~Application() override;

    // The last resort for an exception that escapes an event handler: shown
    // in the error box over the main window, and the event loop goes on.
    // Tarnel's own handlers catch theirs.
    bool notify(QObject* receiver, QEvent* event) override;

    // Creates the main window, which the application owns, with the
    // described inputs.
    void createForm();
    // The main window as it was left, from the user's settings.
    void restoreForm();
    // The main window once created, else null.
    [[nodiscard]] TForm1* mainForm() const { return mainForm_.get(); }
    // Shows the main window and runs the event loop until it is closed;
    // then the window's state goes to the user's settings.
    int run();

private:
    std::unique_ptr<TForm1> mainForm_;
};

// The steps of start-up once the application object exists: createForm
// makes the main window (Application::createForm but in tests), then the
// window runs until it is closed. A failure on the way is shown in the
// error box. Always 0.
int runApplication(Application& app, const std::function<void(Application&)>& createForm);

// The whole program: application object, main window, event loop. The
// command-line arguments are Qt's own, and --defaults, which starts with
// the described inputs instead of those left last time.
int runTarnel(int& argc, char** argv);

} // namespace tarnel
