#include "gallery.h"

#include <QLabel>

QWidget* gallerySectionTwo(QWidget* parent) {
    return new QLabel(QStringLiteral("(section two)"), parent);
}
