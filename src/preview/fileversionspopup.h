#pragma once

#include "ui/filterpopup.h"

#include <QList>
#include <QString>

class QLabel;
class QListWidget;

namespace kestrune {

// The commits that changed the file on show, newest first, as a popup list under the header's
// History button: each row the commit's day and subject over its author, short id and, when the
// commit moved the file, where it was before. The rows arrive in parts while the history is read
// (appendVersions); a line below the list says that it is still being read, then how many there
// are, or why there are none. Typing narrows the list to the rows that contain the text; Enter or
// a click chooses a version, Escape closes (the popup deletes itself once closed).
class FileVersionsPopup : public FilterPopup
{
    Q_OBJECT

public:
    struct Entry
    {
        QString commit; // the full id
        QString day;    // as the program words days
        QString author;
        QString subject;
        QString renamedFrom; // the file's path before the commit, when the commit moved it
    };

    explicit FileVersionsPopup(QWidget *parent = nullptr);

    void appendVersions(const QList<Entry> &entries);
    // The history is read to its end; `message`, when there is one, says why it is short or empty.
    void finish(const QString &message = QString());
    bool isFinished() const { return m_finished; }

    const QList<Entry> &versions() const { return m_entries; }
    QListWidget *list() const { return m_list; }
    QLabel *statusLabel() const { return m_status; }
    // Shows the popup with its top right corner there (kept on the screen), the filter field
    // focused.
    void popUp(const QPoint &globalTopRight);

Q_SIGNALS:
    // `index` into versions().
    void versionChosen(int index);

protected:
    void makeCurrent(const QModelIndex &index) override;
    void chooseCurrent() override;

private:
    FileVersionsPopup(QListWidget *list, QWidget *parent);

    void applyFilter(const QString &text);
    bool matchesFilter(int row) const;

    QListWidget *m_list;
    QLabel *m_status = nullptr;
    QList<Entry> m_entries;
    QString m_filter;
    bool m_finished = false;
};

} // namespace kestrune
