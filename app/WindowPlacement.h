// Window positions kept between runs in the per-user settings store (never Options.ini).
#pragma once

class QWidget;

namespace windowplacement {

void restore(QWidget *window);
void save(const QWidget *window);

} // namespace windowplacement
