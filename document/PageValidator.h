// How the document asks the page on show to validate and store its fields.
#pragma once

namespace vl
{

class PageValidator
{
  public:
    virtual ~PageValidator() = default;
    // True when the page's fields were valid and are now stored; false after the page said why not.
    virtual bool ValidateCurrentPage() = 0;
};

} // namespace vl
