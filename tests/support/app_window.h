// A window of the application on the calling thread, such as a toolkit's window whose procedure
// calls Java: each message it receives goes to the handler a test gave for it.
#ifndef SCANLINK_TESTS_APP_WINDOW_H
#define SCANLINK_TESTS_APP_WINDOW_H

#include <windows.h>

#include <functional>
#include <map>

class AppWindow {
  public:
    AppWindow();
    // On the thread that made it.
    ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    HWND handle() const { return window_; }
    // What the procedure does with `message`; set before the message can come.
    void on(UINT message, std::function<void()> handler) {
        handlers_[message] = std::move(handler);
    }

    // Runs the handler of `message`, as the window procedure does.
    static LRESULT dispatch(AppWindow& window, UINT message);

  private:
    HWND window_ = {};
    std::map<UINT, std::function<void()>> handlers_;
};

#endif
