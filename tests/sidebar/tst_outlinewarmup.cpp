// The outline's warm-up: after it, a project's outline is painted without drawing a symbol for
// the first time, in either appearance.
#include "sidebar/outlinewarmup.h"
#include "sidebar/projecttreeview.h"
#include "ui/symbolicon.h"
#include "ui/themecontroller.h"
#include "ui/warmupqueue.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace kestrune;

Q_DECLARE_METATYPE(kestrune::Appearance)

namespace {

TreeNode node(TreeNodeKind kind, const QString &path, std::optional<std::vector<TreeNode>> children = {})
{
    TreeNode result;
    result.id = QUuid::createUuid();
    result.kind = kind;
    result.url = QUrl::fromLocalFile(path);
    result.name = result.url.fileName();
    result.children = std::move(children);
    return result;
}

// Another project than the sample: other names and depths, a removed delta specification only.
std::shared_ptr<const TreeNode> projectTree()
{
    TreeNode spec = node(TreeNodeKind::markdownFile,
                         QStringLiteral("/shop/kestrune/changes/drop-coupons/specs/coupons.md"));
    spec.deltaType = DeltaSpecType::removed;
    std::vector<TreeNode> specs{spec};
    std::vector<TreeNode> change{
        node(TreeNodeKind::markdownFile, QStringLiteral("/shop/kestrune/changes/drop-coupons/tasks.md")),
        node(TreeNodeKind::directory, QStringLiteral("/shop/kestrune/changes/drop-coupons/specs"), specs)};
    std::vector<TreeNode> changes{
        node(TreeNodeKind::directory, QStringLiteral("/shop/kestrune/changes/drop-coupons"), change)};
    std::vector<TreeNode> planning{
        node(TreeNodeKind::directory, QStringLiteral("/shop/kestrune/changes"), changes),
        node(TreeNodeKind::markdownFile, QStringLiteral("/shop/kestrune/project.md"))};
    std::vector<TreeNode> top{node(TreeNodeKind::kestrune, QStringLiteral("/shop/kestrune"), planning)};
    return std::make_shared<const TreeNode>(node(TreeNodeKind::projectRoot, QStringLiteral("/shop"), top));
}

} // namespace

class TestOutlineWarmUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { QApplication::setPalette(ThemeController::paletteFor(Appearance::light)); }
    void outlinePaintsNoNewSymbol_data();
    void outlinePaintsNoNewSymbol();

private:
    QImage paintOutline();

    QTemporaryDir m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
};

void TestOutlineWarmUp::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
}

QImage TestOutlineWarmUp::paintOutline()
{
    ProjectTreeView outline(*m_theme);
    outline.resize(300, 500);
    const std::shared_ptr<const TreeNode> tree = projectTree();
    outline.setOutline(tree);
    outline.setChangeStatuses(
        {{tree->children->front().children->front().children->front().id, ChangeStatus::completed}});
    outline.listView()->expandAll();
    return outline.grab().toImage();
}

void TestOutlineWarmUp::outlinePaintsNoNewSymbol_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestOutlineWarmUp::outlinePaintsNoNewSymbol()
{
    QFETCH(Appearance, appearance);
    QApplication::setPalette(ThemeController::paletteFor(appearance));
    WarmUpQueue queue;
    OutlineWarmUp::addTo(queue, *m_theme);
    queue.start();
    QTRY_VERIFY(queue.isFinished());

    const quint64 misses = SymbolIcon::cacheMisses();
    const QImage outline = paintOutline();
    QCOMPARE(SymbolIcon::cacheMisses(), misses);
    // Drawn in the appearance asked for: its first row's name is in the primary text colour's
    // lightness (light ink on dark, dark ink on light).
    int inkLightness = appearance == Appearance::dark ? 0 : 255;
    for (int x = 40; x < 200; ++x) {
        for (int y = 0; y < 24; ++y) {
            const int lightness = outline.pixelColor(x, y).lightness();
            inkLightness = appearance == Appearance::dark ? std::max(inkLightness, lightness)
                                                          : std::min(inkLightness, lightness);
        }
    }
    QVERIFY2(appearance == Appearance::dark ? inkLightness > 180 : inkLightness < 80,
             qPrintable(QString::number(inkLightness)));
}

QTEST_MAIN(TestOutlineWarmUp)
#include "tst_outlinewarmup.moc"
