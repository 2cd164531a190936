#pragma once

#include <QCoreApplication>
#include <QOpenGLWidget>
#include <memory>

namespace netglobe {

// A shown GL widget with its context ready, for the tests of one suite to
// share: made in SetUpTestSuite, released in TearDownTestSuite.
inline std::unique_ptr<QOpenGLWidget> shownglwidget(int width, int height) {
  auto widget = std::make_unique<QOpenGLWidget>();
  widget->resize(width, height);
  widget->show();
  while (!widget->isValid()) QCoreApplication::processEvents();
  return widget;
}

}  // namespace netglobe
