#include "shell/fatal.h"

#include <unistd.h>

#include <QMessageBox>
#include <cstdio>

namespace netglobe {

void failnocontext(const std::string& detail) {
  std::fprintf(stderr, "netglobe: Can't create OpenGL context! (%s)\n", detail.c_str());
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"),
                  QStringLiteral("Can't create OpenGL context!"), QMessageBox::Ok);
  box.exec();
  std::fflush(nullptr);
  _exit(1);
}

}  // namespace netglobe
