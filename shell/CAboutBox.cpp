// The About box.
#include "CAboutBox.h"

#include "platform/FontScale.h"
#include "ui_CAboutBox.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace vl
{

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutBox>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The picture drawn for the screen's scale (the icon finds the twice-as-large drawing).
    m_ui->pictureLabel->setPixmap(
        QIcon(QStringLiteral(":/vlconfig/about.png")).pixmap(QSize(80, 40), devicePixelRatioF()));
    // Drawn for the default desktop font; a larger one grows the box and its controls alike.
    platform::ScaleForm(this, platform::FontScale(font()));
    setFixedSize(size());
    setModal(true);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutBox::~CAboutBox() = default;

} // namespace vl
