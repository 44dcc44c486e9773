#include "rtas/library/CDAEError.h"

CDAEError::~CDAEError() = default;
