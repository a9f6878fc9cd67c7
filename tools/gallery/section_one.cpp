#include "gallery.h"

#include <QLabel>

QWidget* gallerySectionOne(QWidget* parent) {
    return new QLabel(QStringLiteral("(section one)"), parent);
}
