#ifndef CODEQR_H
#define CODEQR_H

#include <QImage>
#include <QString>

// The QR code of a text, one pixel a module, black on white with its four-module quiet
// zone; a null image when the text does not fit in a QR code.
QImage imageCodeQr(const QString &texte);

#endif
