#include "qt_shell_opener.h"

#include <QDesktopServices>
#include <QDir>
#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

// Takes the links of one scheme in place of the desktop's opener.
class TUrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls.push_back(url); }
};

} // namespace

TEST(QtShellOpenerTest, LinksAndFileNamesBecomeAddresses)
{
    struct TRow {
        const char* FileName;
        const char* Directory;
        QUrl Expected;
    };
    const std::vector<TRow> rows {
        { "https://velmora.example.com/icon-manager/", "",
            QUrl(QStringLiteral("https://velmora.example.com/icon-manager/")) },
        { "mailto:velmora@example.com?subject=a%20b", "/ignored",
            QUrl(QStringLiteral("mailto:velmora@example.com?subject=a%20b")) },
        { "sub/../a.ico", "/srv/icons", QUrl::fromLocalFile(QStringLiteral("/srv/icons/a.ico")) },
        { "a.ico", "",
            QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("a.ico"))) },
    };
    for (const TRow& row : rows)
        EXPECT_EQ(TQtShellOpener::TargetUrl(row.FileName, row.Directory), row.Expected)
            << row.FileName;
}

TEST(QtShellOpenerTest, StartsTheOpenerOrRefuses)
{
    TUrlCatcher catcher;
    const QString scheme = QStringLiteral("velmora-test");
    QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
    TQtShellOpener shell;
    const std::string link = "velmora-test:page?subject=a%20b";
    EXPECT_EQ(shell.ShellExecute(0, "open", link, "", "", 1), IShellOpener::Started);
    EXPECT_EQ(shell.ShellExecute(0, "", link, "", "", 1), IShellOpener::Started);
    // Verbs other than opening, and an empty name, are refused without starting anything.
    EXPECT_EQ(shell.ShellExecute(0, "print", link, "", "", 1), IShellOpener::NoAssociation);
    EXPECT_EQ(shell.ShellExecute(0, "open", "", "", "", 1), IShellOpener::NoAssociation);
    QDesktopServices::unsetUrlHandler(scheme);
    ASSERT_EQ(catcher.Urls.size(), 2);
    EXPECT_EQ(catcher.Urls[0].scheme(), scheme);
    EXPECT_EQ(catcher.Urls[0].query(QUrl::FullyDecoded), QStringLiteral("subject=a b"));
}

} // namespace velmora::test

#include "qt_shell_opener_test.moc"
