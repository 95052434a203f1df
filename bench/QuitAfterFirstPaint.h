// Ends a start-up measurement: both start-up programs stop the same way, after the first paint.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

// Quits from the event loop once a main window has had its first paint; the paint itself runs to
// its end before the queued quit is seen.
class QuitAfterFirstPaint : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && qobject_cast<QMainWindow*>(watched)) {
            m_seen = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

  private:
    bool m_seen = false;
};
