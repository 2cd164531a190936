#include "shell/details_panel_widget.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <algorithm>

#include "shell/record_text.h"

namespace netglobe {

namespace {

constexpr int kPanelWidth = 340;
constexpr int kTitleHeight = 18;
constexpr int kMargin = 4;

// The colours of the pick boxes: navy on yellow; grey once the pilot left.
const QColor kText(0, 0, 128);
const QColor kGoneText(128, 128, 128);
const QColor kBackground(255, 255, 0);

QFont panelfont(double points) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

}  // namespace

DetailsPanelWidget::DetailsPanelWidget(QWidget* stage) : QFrame(stage) {
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, kBackground);
  p.setColor(QPalette::Base, kBackground);
  p.setColor(QPalette::WindowText, kText);
  p.setColor(QPalette::Text, kText);
  setPalette(p);

  title_ = new QLabel(this);
  title_->setFont(panelfont(9));
  close_ = new QToolButton(this);
  close_->setText(QStringLiteral("x"));
  close_->setToolTip(QStringLiteral("Close (Esc)"));
  close_->setAutoRaise(true);
  body_ = new QTextBrowser(this);
  body_->setFont(panelfont(8));
  body_->setFrameShape(QFrame::NoFrame);
  body_->setOpenLinks(false);
  body_->setLineWrapMode(QTextEdit::WidgetWidth);
  body_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  body_->installEventFilter(this);
  installEventFilter(this);

  connect(close_, &QToolButton::clicked, this, &DetailsPanelWidget::closerequested);
  connect(body_, &QTextBrowser::anchorClicked, this,
          [this](const QUrl& url) { emit linechosen(url.fragment().toInt()); });
  hide();
}

void DetailsPanelWidget::display(const DetailsView& view) {
  if (!view.open) {
    hide();
    return;
  }
  QPalette p = palette();
  const QColor text = view.gone ? kGoneText : kText;
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Text, text);
  title_->setPalette(p);
  body_->setPalette(p);
  title_->setText(fromrecord(view.title));
  // Links take the text's own colour: greyed with the rest when the pilot left.
  const QString colour = text.name();
  QString html = QStringLiteral("<div style=\"color:%1\">").arg(colour);
  for (std::size_t i = 0; i < view.lines.size(); ++i) {
    const DetailsLine& line = view.lines[i];
    QString shown = fromrecord(line.text).toHtmlEscaped();
    if (line.target && !view.gone) {
      shown = QStringLiteral("<a style=\"color:%1\" href=\"#%2\">%3</a>").arg(colour).arg(i).arg(shown);
    }
    if (line.heading) shown = QStringLiteral("<u>%1</u>").arg(shown);
    html += QStringLiteral("<p style=\"margin:0\">%1</p>").arg(shown);
  }
  html += QStringLiteral("</div>");
  body_->setHtml(html);
  show();
  raise();
  place(stagewidth_, stageheight_, listsleft_);
}

void DetailsPanelWidget::place(int stagewidth, int stageheight, int listsleft) {
  stagewidth_ = stagewidth;
  stageheight_ = stageheight;
  listsleft_ = listsleft;
  if (stagewidth <= 0 || stageheight <= 0) return;
  const int width = std::max(120, std::min(kPanelWidth, listsleft - kMargin));
  const int inner = width - 2 * kMargin;
  body_->document()->setTextWidth(inner);
  const int textheight = int(body_->document()->size().height()) + 4;
  const int height = std::clamp(kTitleHeight + textheight + 2 * kMargin, 60, std::max(60, stageheight / 2));
  setGeometry(0, stageheight - height, width, height);
  title_->setGeometry(kMargin, kMargin, inner - kTitleHeight, kTitleHeight);
  close_->setGeometry(width - kMargin - kTitleHeight, kMargin, kTitleHeight, kTitleHeight);
  body_->setGeometry(kMargin, kMargin + kTitleHeight, inner, height - kTitleHeight - 2 * kMargin);
}

bool DetailsPanelWidget::eventFilter(QObject* watched, QEvent* event) {
  // Esc in the panel closes it, as Esc typed into the window does.
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    emit closerequested();
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace netglobe
