#pragma once

#include <QDialog>

#include "platform/AppIdentity.h"

namespace vendra {

// The About box: the program's title and version over the banner; "OK", Enter and Escape close it.
class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(const AppIdentity& identity, QWidget* parent = nullptr);
};

}  // namespace vendra
