#pragma once
#include <QWidget>
#include <exception>
#include <string>

namespace pelmoravan {

// Shows an error that escaped a tick or a click in a message box, and goes on. While one box
// is open, further errors are dropped: ticks keep coming under a modal box, and an error that
// repeats every tick must not stack up boxes.
void ReportError(QWidget* parent, const std::exception& error);
void ReportError(QWidget* parent, const std::string& message);

} // namespace pelmoravan
