#include "app/aboutwindow.h"

widget_vorna::widget_vorna(QWidget* parent, Qt::Alignment, int) : QDialog(parent) {}
