#pragma once

namespace netglobe {

// SIGTERM, SIGINT and SIGHUP end the program the way closing its window does,
// so the shutdown sequence runs and the demo network is stopped.
void quitonsignals();

}  // namespace netglobe
