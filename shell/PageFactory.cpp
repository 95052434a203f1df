// Makes the page that belongs to a page identifier.
#include "PageFactory.h"

#include "pages/CVLGenView.h"
#include "pages/CVLMiscView.h"
#include "pages/CVLProdView.h"

namespace vl
{

CPage* CreatePage(int pageId, CVLConfigDoc* document, PageHost* host, QWidget* parent)
{
    switch (pageId) {
    case kGeneralPageId:
        return new CVLGenView(document, host, parent);
    case kProductPageId:
        return new CVLProdView(document, host, parent);
    default:
        return new CVLMiscView(host, parent);
    }
}

} // namespace vl
