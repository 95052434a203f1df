// The About box.
#include "CAboutBox.h"

#include "ui_CAboutBox.h"

#include <QPushButton>

namespace vl
{

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutBox>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    setModal(true);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutBox::~CAboutBox() = default;

} // namespace vl
