#include "app/notopenedbox.h"

#include "view/plaintext.h"

#include <QCoreApplication>

#include <unistd.h>

namespace VornaLumeto {
namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::CommandLine", source);
}

} // namespace

bool standardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void showNotOpenedNames(QWidget* window, const QStringList& lines)
{
    showPlainTextWarning(window, text("Предупреждение"),
                         text("Не все файлы, названные при запуске, открыты:") + QStringLiteral("\n\n")
                             + lines.join(QString()).trimmed());
}

} // namespace VornaLumeto
