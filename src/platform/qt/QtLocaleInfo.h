#pragma once

#include "platform/LocaleInfo.h"

namespace vendra {

// The digit-group separator and decimal point of the user's locale.
class QtLocaleInfo : public LocaleInfo {
  public:
    NumberSeparators separators() const override;
};

}  // namespace vendra
