// The file dialogs of the program's windows, set up as designed.
#include "common/ui/FileDialogs.h"

#include "common/DialogFilter.h"

namespace kibic {

void SetUpFileDialog(
    QFileDialog& dialog, const QString& name, QFileDialog::AcceptMode mode, const QString& suffix, QStringView filter)
{
    dialog.setObjectName(name);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setNameFilters(NameFiltersFromFilter(filter));
}

} // namespace kibic
