#pragma once

#include <QWidget>

// Each section shows one set of painted controls in all of their states.
QWidget* gallerySectionOne(QWidget* parent); // image button, push button, line panel, list box, progress bar
QWidget* gallerySectionTwo(QWidget* parent); // flat edit, flat combo box, hint window, popup menu
