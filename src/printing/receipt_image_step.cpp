#include "printing/receipt_image_step.h"

#include "app/text_encoding.h"
#include "printing/image_size_attribute.h"
#include "printing/receipt_image.h"

namespace vorna {

ImagePreparer DownloadingImagePreparer() {
  return [](ReceiptElement& image, const ReceiptLog& log) {
    std::optional<ImageSizeAttribute> size = ParseImageSizeAttribute(image.attributes);
    if (!size) {
      log(u"  img  没有尺寸属性");
      image.tag = u"invalidLabel";
      return;
    }
    PreparedReceiptImage prepared = PrepareReceiptImage(
        image.content, {size->byPercent, size->percent, size->width, size->height}, log);
    if (!prepared.downloaded) {
      image.tag = u"invalidLabel";
      return;
    }
    image.content = Utf8ToUtf16(prepared.bmpPath);
  };
}

}  // namespace vorna
