// Built only by the layer test, which expects this to fail: imaging/ lies
// below printer/ and must not see its headers.
#include "imaging/convert_tiff.h"
#include "printer/transfer.h"
