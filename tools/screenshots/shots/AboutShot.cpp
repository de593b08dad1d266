// The About window.
#include "Shot.h"

#include "extras/frmAbout.h"

namespace {

const pulsivar::screenshots::ShotRegistration about{
    QStringLiteral("about"), [] { return std::unique_ptr<QWidget>(std::make_unique<pulsivar::frmAbout>()); }};

} // namespace
