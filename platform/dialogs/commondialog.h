// The common dialog control, class "MSComDlg.CommonDialog": file-open and
// colour dialogs driven through properties.
//
// Members:
//   DialogTitle  String, get/put
//   Filter       String, get/put: "Description|pattern[|Description|pattern...]"
//   FileName     String, get/put; after ShowOpen the chosen file, empty on cancel
//   Color        Long 0x00BBGGRR, get/put; after ShowColor the chosen colour,
//                unchanged on cancel
//   ShowOpen     method: shows the file-open dialog
//   ShowColor    method: shows the colour dialog starting from Color
#pragma once

#include "component/dispatch.h"
#include "dialogprovider.h"

#include <QStringList>

namespace dialogs
{

namespace member
{
inline constexpr component::DispId DialogTitle = 0x00000001;
inline constexpr component::DispId Filter = 0x00000002;
inline constexpr component::DispId FileName = 0x00000003;
inline constexpr component::DispId Color = 0x00000004;
inline constexpr component::DispId ShowOpen = 0x00000005;
inline constexpr component::DispId ShowColor = 0x00000006;
} // namespace member

class CommonDialog final : public component::DispatchObject
{
  public:
    explicit CommonDialog(DialogProvider &provider) : provider_(provider) {}
    component::Result invoke(component::DispId id, component::CallKind kind, component::Args &args) override;

    // "Icons|*.ico|All|*" becomes "Icons (*.ico);;All (*)"; a description
    // that already ends with its patterns keeps them once.
    static QString toQtFilter(const QString &filter);

  private:
    DialogProvider &provider_;
    QString title_;
    QString filter_;
    QString fileName_;
    int32_t color_ = 0;
};

} // namespace dialogs
