// The main window's size, fixed and grown for the desktop font, and its place in the middle of the screen.
#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace vl
{

class WindowSizer : public QObject
{
  public:
    // outer: the size, frame included, at the default desktop font.
    WindowSizer(QWidget* window, QSize outer);

    // How much the window and its pages grow for the desktop font.
    double Scale() const { return m_scale; }
    // Makes the window smaller (never larger) where client exceeds a layout drawn at the default font.
    void FitClientTo(QWidget* client, QSize layout);
    // Fixes the outer size once the window system has given the window its frame.
    void ApplyFixedSize();
    // Places the window, frame included, in the middle of the screen's work area; placed again once
    // the window manager has given it its frame.
    void CentreOnScreen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_window;
    double m_scale;
    QSize m_fitSize;    // the outer size wanted
    QSize m_decoration; // the window manager's frame around the client area, as last seen
    bool m_centrePending = false;
};

} // namespace vl
