// The Miscellaneous page.
#include "CVLMiscView.h"

#include "ui_CVLMiscView.h"

#include <QPushButton>

namespace vl
{

CVLMiscView::CVLMiscView(PageHost* host, QWidget* parent)
    : CPage(kMiscPageId, host, parent), m_ui(std::make_unique<Ui::CVLMiscView>())
{
    m_ui->setupUi(this);
    connect(m_ui->backButton, &QPushButton::clicked, this, [this] { Host()->SwitchPage(kProductPageId); });
}

CVLMiscView::~CVLMiscView() = default;

void CVLMiscView::OnInitialUpdate()
{
    Host()->FitFrameToPage(this);
}

} // namespace vl
