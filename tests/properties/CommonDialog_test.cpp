#include "CommonDialog.h"

#include <gtest/gtest.h>

using lorvane::CommonDialog;

TEST(CommonDialog, FiltersBecomeQtFilters)
{
    const std::pair<const char *, const char *> rows[] = {
        {"Bitmap|*.bmp|", "Bitmap (*.bmp)"},
        {"IconFile|*.ico|", "IconFile (*.ico)"},
        {"Pictures|*.bmp;*.ico|All|*|", "Pictures (*.bmp *.ico);;All (*)"},
        {"Text|*.txt", "Text (*.txt)"},
        {"", ""},
        {"|", ""},
    };
    for (const auto &[filter, qt] : rows) {
        SCOPED_TRACE(filter);
        EXPECT_EQ(CommonDialog::qtFilter(QString::fromUtf8(filter)), QString::fromUtf8(qt));
    }
}
