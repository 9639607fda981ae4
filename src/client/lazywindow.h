#pragma once
// A secondary window made the first time somebody needs it. Most of them (help, about, the
// phrase editor, ...) are never opened in a session, and building their widgets at start
// would keep the main window from showing sooner. A window handed in ready-made (tests) is
// used as it is.

#include <functional>
#include <vector>

template <class Window> class LazyWindow {
  public:
    LazyWindow() = default;
    LazyWindow(Window* ready) : m_window(ready) {} // NOLINT: a made window stands for itself
    static LazyWindow madeBy(std::function<Window*()> make) {
        LazyWindow w;
        w.m_make = std::move(make);
        return w;
    }

    // Runs on the window once it exists: at once if it does already.
    void onMade(std::function<void(Window&)> hook) {
        if (m_window)
            hook(*m_window);
        else
            m_hooks.push_back(std::move(hook));
    }

    // The window, made now if it was not yet; null when there is none to make.
    Window* get() {
        if (!m_window && m_make) {
            m_window = m_make();
            m_make = nullptr;
            auto hooks = std::move(m_hooks);
            for (auto& hook : hooks)
                hook(*m_window);
        }
        return m_window;
    }
    // The window if it has been made, else null: for updates that can wait until it is.
    Window* made() const { return m_window; }

    explicit operator bool() const { return m_window || m_make; }
    Window* operator->() { return get(); }

  private:
    Window* m_window = nullptr;
    std::function<Window*()> m_make;
    std::vector<std::function<void(Window&)>> m_hooks;
};
