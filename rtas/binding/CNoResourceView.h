#pragma once

#include "rtas/views/CCustomView.h"

// The process's editor container, built without a resource description.
class CNoResourceView : public CCustomView {
 public:
  CNoResourceView();
  ~CNoResourceView() override;
};
