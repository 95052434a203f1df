// The General page: the launcher's own title, description and company logo.
#pragma once

#include "Page.h"
#include "model/SectionRing.h"

#include <memory>

namespace Ui
{
class CVLGenView;
}

namespace vl
{

class CVLConfigDoc;
class TextEditLimiter;

class CVLGenView : public CPage
{
    Q_OBJECT

  public:
    CVLGenView(CVLConfigDoc* document, PageHost* host, QWidget* parent = nullptr);
    ~CVLGenView() override;

    bool CommitPage() override;
    void OnInitialUpdate() override;
    // Loads the three fields from the general section.
    void OnUpdate();
    // The "..." button: choose a logo file and check it, or offer to make one of a picture.
    void OnBrowseLogo();

    bool UpdateCommand(int id, platform::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    SectionNode* m_pRing = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnUserChange();
    // Offers to make the launcher's logo of a picture that is none; false when it is no picture that
    // one can be made of, true when it was offered (whatever the answer).
    bool OfferLogoFrom(const QString& picturePath);

    CVLConfigDoc* m_document;
    std::unique_ptr<Ui::CVLGenView> m_ui;
    TextEditLimiter* m_descriptionLimiter = nullptr;
    bool m_filling = false;
};

// The logo path field's browse settings: a logo, or a picture to make one of.
inline constexpr const char* kLogoFilter =
    "Pictures|*.pcx;*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.svg|Version 2 PCX (*.pcx)|*.pcx|All Files (*.*)|*.*|";
// Pictures larger than this are not read to make a logo of.
inline constexpr std::size_t kMaxPictureBytes = std::size_t(256) << 20;

} // namespace vl
