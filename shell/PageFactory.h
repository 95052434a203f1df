// Makes the page that belongs to a page identifier.
#pragma once

#include "pages/Page.h"

namespace vl
{

class CVLConfigDoc;

// 130 gives the General page, 129 the Product page, any other identifier a Miscellaneous page.
CPage* CreatePage(int pageId, CVLConfigDoc* document, PageHost* host, QWidget* parent);

} // namespace vl
