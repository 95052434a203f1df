// Growing layouts drawn for the default desktop font to the font in use.
#include "FontScale.h"

#include <QFont>
#include <QFontMetrics>
#include <QLayout>
#include <QRect>
#include <QWidget>
#include <algorithm>

namespace platform
{

namespace
{

// Grows a rectangle by factor so that neighbours that touched before still touch.
QRect Scaled(const QRect& rect, double factor)
{
    const QPoint topLeft(qRound(rect.left() * factor), qRound(rect.top() * factor));
    const QPoint end(qRound((rect.right() + 1) * factor), qRound((rect.bottom() + 1) * factor));
    return QRect(topLeft, end - QPoint(1, 1));
}

} // namespace

double FontScale(const QFont& font)
{
    // The default desktop font: 9-point sans serif at 96 dots per inch. Like a dialog unit, the
    // width follows the mean advance of the 52 letters and the height the font's height; one factor,
    // the larger of the two, keeps the layouts' proportions.
    QFont reference(QStringLiteral("Sans Serif"));
    reference.setPixelSize(12);
    const QFontMetrics wanted(font);
    const QFontMetrics drawn(reference);
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const double wide = double(wanted.horizontalAdvance(letters)) / drawn.horizontalAdvance(letters);
    const double tall = double(wanted.height()) / drawn.height();
    return std::max({1.0, wide, tall});
}

QSize ScaledSize(QSize size, double factor)
{
    return Scaled(QRect(QPoint(), size), factor).size();
}

void ScaleForm(QWidget* form, double factor)
{
    if (factor == 1.0)
        return;
    if (!form->layout()) {
        for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow())
                child->setGeometry(Scaled(child->geometry(), factor));
        }
    }
    form->resize(ScaledSize(form->size(), factor));
}

} // namespace platform
