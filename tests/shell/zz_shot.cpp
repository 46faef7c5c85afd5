#include <QtTest>
#include "imagewin/form_image.h"
#include "scripted_dialogs.h"
#include "shell/form_main.h"
#include "test_paths.h"
using namespace kalvenor;
class Shot : public QObject { Q_OBJECT
 private slots:
  void shot() {
    ScriptedDialogs d; FormMain w(d, KALVENOR_EXAMPLES_DIR); w.Form_Load(); w.show();
    w.formImage().resize(800, 800); QTest::qWait(100);
    const QString ex = KALVENOR_EXAMPLES_DIR "/terrace/";
    d.files.push_back(ex + "model.txt");
    QTest::mouseClick(w.ui().cmdOpenModel, Qt::LeftButton);
    d.files = {ex + "basement.txt", ex + "sandstone_top.txt", ex + "terrace_base.txt"};
    QTest::mouseClick(w.ui().cmdBoundaryFile, Qt::LeftButton);
    d.colors = {packRgb(214,120,120), packRgb(236,200,110), packRgb(140,170,110), packRgb(245,240,190)};
    QTest::mouseClick(w.ui().cmdColor, Qt::LeftButton);
    d.files.push_back(ex + "topography.txt");
    QTest::mouseClick(w.ui().cmdOpenDisplayFile, Qt::LeftButton);
    w.ui().txtZbase->setText("0");
    QTest::mouseClick(w.ui().cmdKalvenor, Qt::LeftButton);
    QTest::mouseClick(w.ui().cmd3DDefault, Qt::LeftButton);
    QTest::mouseClick(w.ui().cmdContourAuto, Qt::LeftButton);
    w.ui().chkContour->setChecked(false);
    w.ui().txtSca->setText("1");
    QTest::mouseClick(w.ui().cmdGeoMap, Qt::LeftButton);
    w.formImage().canvas().image().save("/tmp/map_oblique.png");
    w.ui().chkPers->setChecked(true);
    w.ui().txtDist->setText("4000");
    QTest::mouseClick(w.ui().cmdGeoMap, Qt::LeftButton);
    w.formImage().canvas().image().save("/tmp/map_persp.png");
    w.ui().chkPers->setChecked(false);
    QTest::mouseClick(w.ui().cmd2D, Qt::LeftButton);
    w.ui().chkContour->setChecked(true);
    QTest::mouseClick(w.ui().cmdGeoMap, Qt::LeftButton);
    w.formImage().canvas().image().save("/tmp/map_plan.png");
    w.ui().txtXstart->setText("10100"); w.ui().txtYstart->setText("20500");
    w.ui().txtXend->setText("12900"); w.ui().txtYend->setText("21400");
    QTest::mouseClick(w.ui().cmdSectionModel, Qt::LeftButton);
    QTest::mouseClick(w.ui().cmdGeoSection, Qt::LeftButton);
    w.formImage().canvas().image().save("/tmp/section.png");
    QTest::mouseClick(w.ui().cmdGrid, Qt::LeftButton);
    w.formImage().canvas().image().save("/tmp/section_grid.png");
    QTest::mouseClick(w.ui().cmdKalvenor, Qt::LeftButton);
    QTest::mouseClick(w.ui().cmd3DDefault, Qt::LeftButton);
    w.ui().chkContour->setChecked(false);
    QTest::mouseClick(w.ui().cmdGeoMap, Qt::LeftButton);
    QTest::mouseClick(w.ui().cmdGeoSectionLine, Qt::LeftButton);
    w.formImage().canvas().image().save("/tmp/map_walls_line.png");
    qDebug() << d.messages;
  }
};
QTEST_MAIN(Shot)
#include "zz_shot.moc"
