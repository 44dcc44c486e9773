#include "rtas/binding/CNoResourceView.h"

CNoResourceView::CNoResourceView() = default;

CNoResourceView::~CNoResourceView() = default;
