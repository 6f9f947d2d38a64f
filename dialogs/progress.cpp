#include "dialogs/progress.h"

#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tavoro {

namespace {

// The still hourglass, 32 by 32, drawn here.
QPixmap StillHourGlass() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath glass;
  glass.moveTo(8, 4);
  glass.lineTo(24, 4);
  glass.cubicTo(24, 11, 17, 14, 17, 16);
  glass.cubicTo(17, 18, 24, 21, 24, 28);
  glass.lineTo(8, 28);
  glass.cubicTo(8, 21, 15, 18, 15, 16);
  glass.cubicTo(15, 14, 8, 11, 8, 4);
  p.setPen(QPen(QColor(0x7A, 0x8C, 0xA8), 1));
  p.setBrush(QColor(0xDD, 0xE8, 0xF4));
  p.drawPath(glass);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xE2, 0xB8, 0x4A));
  p.drawPolygon(QPolygonF({QPointF(10, 8), QPointF(22, 8), QPointF(16, 15)}));
  p.drawPolygon(QPolygonF({QPointF(9.5, 27), QPointF(16, 21), QPointF(22.5, 27)}));
  p.drawRect(QRectF(15.5, 15, 1, 7));
  p.setBrush(QColor(0x6B, 0x44, 0x23));
  p.setPen(QPen(QColor(0x3E, 0x26, 0x12), 1));
  p.drawRect(QRectF(5.5, 1.5, 21, 3));
  p.drawRect(QRectF(5.5, 27.5, 21, 3));
  return pm;
}

}  // namespace

frmProgress::frmProgress(QWidget* mainWindow, std::string homeDir)
    : plat::ctl::Form(mainWindow), main_(mainWindow), homeDir_(std::move(homeDir)) {
  setObjectName("frmProgress");
  SetCaption("Progress");
  setFixedSize(330, 96);

  vseProgress = new plat::ctl::Elastic(this);
  vseProgress->SetName("vseProgress");
  vseProgress->setGeometry(0, 0, 330, 96);

  aniProgress = new plat::ctl::Animation(vseProgress);
  aniProgress->SetName("aniProgress");
  aniProgress->setGeometry(10, 14, 64, 64);
  aniProgress->SetAutoPlay(true);
  aniProgress->SetCenter(true);
  aniProgress->SetVisible(false);

  imgHourGlass = new plat::ctl::Label(vseProgress);
  imgHourGlass->SetName("imgHourGlass");
  imgHourGlass->setPixmap(StillHourGlass());
  imgHourGlass->setAlignment(Qt::AlignCenter);
  imgHourGlass->setGeometry(10, 14, 64, 64);
  imgHourGlass->SetVisible(false);

  pnlProgress = new plat::ctl::Panel3D(vseProgress);
  pnlProgress->SetName("pnlProgress");
  pnlProgress->SetBevelOuter(1);
  pnlProgress->setGeometry(84, 22, 234, 48);
  lblProgress = new plat::ctl::Label("progress", pnlProgress);
  lblProgress->SetName("lblProgress");
  lblProgress->setWordWrap(true);
  lblProgress->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(pnlProgress);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->addWidget(lblProgress);

  Form_Load = [this] { OnLoad(); };
  Form_Unload = [this](int&) { OnUnload(); };
}

std::string frmProgress::ClipPath(const std::string& homeDir) {
  if (!homeDir.empty() && homeDir.back() == '/') return homeDir + kHourGlassClip;
  return homeDir + "/" + kHourGlassClip;
}

void frmProgress::OnLoad() {
  SetMousePointer(13);
  plat::ctl::SetMousePointer(main_, 11);
  const std::string clip = ClipPath(homeDir_);
  // A clip that cannot be played counts as missing: the still picture shows instead.
  if (QFileInfo(plat::ctl::ToQ(clip)).isFile() && aniProgress->Open(clip)) {
    aniProgress->SetVisible(true);
  } else {
    imgHourGlass->SetVisible(true);
  }
}

void frmProgress::OnUnload() {
  aniProgress->Stop();
  aniProgress->SetVisible(false);
  imgHourGlass->SetVisible(false);
  plat::ctl::SetMousePointer(main_, 0);
  SetMousePointer(0);
}

// ---------------------------------------------------------------------------------------------

ProgressRef ProgressRef::Show(QWidget* mainWindow, const std::string& homeDir, const std::string& caption,
                              const std::string& text) {
  ProgressRef ref;
  auto* form = new frmProgress(mainWindow, homeDir);
  ref.form_ = form;
  form->Load();
  form->SetCaption(caption);
  form->lblProgress->SetCaption(text);
  form->Show(plat::ctl::Form::kModeless);
  return ref;
}

frmProgress* ProgressRef::get() const {
  frmProgress* form = form_.data();
  if (form == nullptr || !form->Loaded()) return nullptr;
  return form;
}

void ProgressRef::Set(const std::string& caption, const std::string& text) {
  if (frmProgress* form = get()) {
    form->SetCaption(caption);
    form->lblProgress->SetCaption(text);
  }
}

void ProgressRef::Unload() {
  if (frmProgress* form = get()) form->Unload();
}

}  // namespace tavoro
