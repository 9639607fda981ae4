#pragma once
// A measuring aid for bench/startup_idle.py: with BG_STARTUP_PROBE set in the environment, the
// first time `window` has been painted the program prints "painted <wall-clock ns>" and
// ends, so start-up can be timed from outside the same way for the program and for a bare Qt
// window. Without the variable it does nothing.

class QWidget;

void armStartupProbe(QWidget* window);
