#pragma once
// The renderer's image step for real jobs: reads the element's size, fetches
// and converts the image, and points the element at the BMP (or drops it).
#include "printing/receipt.h"

namespace vorna {

ImagePreparer DownloadingImagePreparer();

}  // namespace vorna
