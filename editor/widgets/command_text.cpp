#include "editor/widgets/command_text.h"

#include <QAction>

namespace calyx::editor {

QString plainCommandName(const QString& text) {
    QString name = text.left(text.indexOf(QLatin1Char('\t')));
    QString plain;
    plain.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        // "&&" is a literal ampersand; a lone "&" marks the access key.
        if (name[i] == QLatin1Char('&') && ++i >= name.size()) break;
        plain += name[i];
    }
    while (plain.endsWith(QLatin1Char('.'))) plain.chop(1);
    return plain.trimmed();
}

void setCommandText(QAction& action, const QString& text) {
    action.setText(text.left(text.indexOf(QLatin1Char('\t'))));
    action.setIconText(plainCommandName(text));
}

QString numberedMenuText(int number, const QString& text) {
    QString shown = text;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(number).arg(shown);
}

}  // namespace calyx::editor
