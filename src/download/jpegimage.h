#pragma once
// Decodes a JPEG picture with libjpeg itself, not through Qt's image plugins, so the program
// shows its artwork wherever libjpeg is, whatever plugins the Qt installation carries.
//
// decodeJpeg() is strict: any error or warning of the library (a truncated file, a corrupt
// segment, data that is not a JPEG at all) gives a null image, never a half-grey picture.

#include <QByteArray>
#include <QImage>

QImage decodeJpeg(const QByteArray& data);
