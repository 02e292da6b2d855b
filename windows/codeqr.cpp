#include "windows/codeqr.h"

#include <qrencode.h>

#include <memory>

QImage imageCodeQr(const QString &texte)
{
    constexpr int marge = 4;
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(texte.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1),
        QRcode_free);
    if (!code)
        return QImage();
    const int cote = code->width + 2 * marge;
    QImage image(cote, cote, QImage::Format_Grayscale8);
    image.fill(255);
    for (int y = 0; y < code->width; ++y)
        for (int x = 0; x < code->width; ++x)
            if (code->data[y * code->width + x] & 1) // the low bit is the module's colour
                image.setPixel(x + marge, y + marge, qRgb(0, 0, 0));
    return image;
}
