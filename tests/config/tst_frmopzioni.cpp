#include <QTest>
class T : public QObject { Q_OBJECT private Q_SLOTS: void vuoto() {} };
QTEST_MAIN(T)
#include "tst_frmopzioni.moc"
