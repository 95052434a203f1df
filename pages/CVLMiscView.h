// The Miscellaneous page: a placeholder notice and a way back to the Product page.
#pragma once

#include "Page.h"

#include <memory>

namespace Ui
{
class CVLMiscView;
}

namespace vl
{

class CVLMiscView : public CPage
{
    Q_OBJECT

  public:
    explicit CVLMiscView(PageHost* host, QWidget* parent = nullptr);
    ~CVLMiscView() override;

    bool CommitPage() override { return true; }
    void OnInitialUpdate() override;

  private:
    std::unique_ptr<Ui::CVLMiscView> m_ui;
};

} // namespace vl
