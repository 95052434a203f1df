// The About box: the program's picture, name, version and notice.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui
{
class CAboutBox;
}

namespace vl
{

class CAboutBox : public QDialog
{
    Q_OBJECT

  public:
    explicit CAboutBox(QWidget* parent = nullptr);
    ~CAboutBox() override;

  private:
    std::unique_ptr<Ui::CAboutBox> m_ui;
};

} // namespace vl
