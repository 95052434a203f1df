// The main window's size, fixed and grown for the desktop font, and its place in the middle of the screen.
#include "WindowSizer.h"

#include "platform/FontScale.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vl
{

WindowSizer::WindowSizer(QWidget* window, QSize outer)
    : QObject(window), m_window(window), m_scale(platform::FontScale(window->font())),
      m_fitSize(platform::ScaledSize(outer, m_scale))
{
    m_window->setFixedSize(m_fitSize);
    m_window->installEventFilter(this);
}

void WindowSizer::FitClientTo(QWidget* client, QSize layout)
{
    if (m_window->layout())
        m_window->layout()->activate();
    const QSize wanted = platform::ScaledSize(layout, m_scale);
    const int dw = std::max(0, client->width() - wanted.width());
    const int dh = std::max(0, client->height() - wanted.height());
    if (dw == 0 && dh == 0)
        return;
    m_fitSize -= QSize(dw, dh);
    ApplyFixedSize();
}

void WindowSizer::ApplyFixedSize()
{
    m_decoration = m_window->isVisible() ? m_window->frameGeometry().size() - m_window->size() : QSize(0, 0);
    m_window->setFixedSize(m_fitSize - m_decoration);
}

void WindowSizer::CentreOnScreen()
{
    QScreen* shownOn = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    QRect outer(QPoint(), m_fitSize);
    outer.moveCenter(shownOn->availableGeometry().center());
    m_window->move(outer.topLeft()); // a window's position is that of its frame
    m_centrePending = !m_window->isVisible() || m_decoration.isNull();
}

bool WindowSizer::eventFilter(QObject* watched, QEvent* event)
{
    // A window manager frames the window only after it is shown, and the window moves then: the
    // client area must shrink by the frame, and the window be centred again with its true size.
    if (watched == m_window && event->type() == QEvent::Move && m_window->isVisible() &&
        m_window->frameGeometry().size() - m_window->size() != m_decoration) {
        ApplyFixedSize();
        if (m_centrePending)
            CentreOnScreen();
    }
    return false;
}

} // namespace vl
