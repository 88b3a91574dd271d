#pragma once

#include <QString>

// Every caption, tooltip and message of the properties pane, each in one
// place. The push buttons' captions are stored with the buttons
// (PropertiesPane.buttons).
namespace lorvane::pane {

inline const QString FilePropertiesText = QStringLiteral("خواص الملفات");
inline const QString IconsFrameText = QStringLiteral("الأيقونات");
inline const QString cmdTOToolTip =
    QStringLiteral("اضغط للتحول بين خيارات أسماء الملفات و خصائصها");
inline const QString LargeIconToolTip = QStringLiteral("الأيقونة الكبيرة");
inline const QString SmallIconToolTip = QStringLiteral("الأيقونة الصغيرة");
inline const QString TypePrefix = QStringLiteral("الملف من النوع: ");
inline const QString TypeToolTip = QStringLiteral("الملف من النوع");
inline const QString FileNamesText = QStringLiteral("أسماء الملفات");
inline const QString File1OpenToolTip = QStringLiteral("اضغط ضغطتين لفتح الملف");
inline const QString File1ExcludeToolTip =
    QStringLiteral("انتق أي ملف لاستبعاده عن عملية تغيير الأسماء");
inline const QString NoInformationText = QStringLiteral("Cannot retrieve information on");
inline const QString NoIconText = QStringLiteral("Error getting or drawing the icon.");
inline const QString ReadOnlyText = QStringLiteral("للقراءة فقط");
inline const QString HiddenText = QStringLiteral("مخفي");
inline const QString SystemText = QStringLiteral("نظام");
inline const QString FolderText = QStringLiteral("مجلد");
inline const QString ArchiveText = QStringLiteral("أرشيف");
inline const QString NormalText = QStringLiteral("عادي");
inline const QString TemporaryText = QStringLiteral("مؤقت‏");
inline const QString CompressedText = QStringLiteral("مضغوط‏");
inline const QString chkChangeAttrCaption = QStringLiteral("تعديل الخواص");
inline const QString ConfirmAttributesText =
    QStringLiteral("هل تريد بالتأكيد تغيير خواص هذا الملف");
inline const QString ChoosePathTitle = QStringLiteral("اختر مسار");
inline const QString BitmapFilter = QStringLiteral("Bitmap|*.bmp|");
inline const QString BitmapSuffix = QStringLiteral(".bmp");
inline const QString ConfirmFolderIconText = QStringLiteral("هل تريد تغيير أيقونة المجلد");
inline const QString ChooseIconTitle = QStringLiteral("اختر أيقونة");
inline const QString IconFilter = QStringLiteral("IconFile|*.ico|");
inline const QString IconSuffix = QStringLiteral(".ico");
inline const QString ConfirmTrashText = QStringLiteral("سيتم نقل الملف المحدد الى سلة المحذوفات");
inline const QString ConfirmKillText = QStringLiteral("لن تستطيع استعادة هذا الملف أبدا");

// Failures the pane reports; the system's reason follows on the next line.
inline const QString AttributesFailedText = QStringLiteral("تعذر تغيير خواص الملف");
inline const QString SaveIconFailedText = QStringLiteral("تعذر حفظ أيقونة الملف");
inline const QString FolderIconFailedText = QStringLiteral("تعذر تغيير أيقونة المجلد");
inline const QString IconNameRefusedText =
    QStringLiteral("لا يمكن أن يحتوي اسم الأيقونة على فاصل أسطر");
inline const QString DeleteFailedText = QStringLiteral("تعذر حذف الملف");
inline const QString OpenFolderFailedText = QStringLiteral("تعذر فتح المجلد");

} // namespace lorvane::pane
