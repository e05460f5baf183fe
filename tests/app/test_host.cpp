// A stand-in for the timetabling program: opens a window, starts the
// converter as `velquior CONVERSION HANDLE` with its own window handle in
// hexadecimal (or the handle given), and ends with the converter's status.
// Prints "host <id in decimal>" once its window exists, and the times (ms
// since the epoch) at which the converter started and finished, and the
// converter's process id.

#include <cstdio>

#include <QApplication>
#include <QDateTime>
#include <QProcess>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: velquior_test_host VELQUIOR CONVERSION [HANDLE]\n");
    return 2;
  }
  QWidget host;
  host.setWindowTitle("Zeltimor host");
  host.setGeometry(0, 0, 1024, 768);
  host.show();
  const auto id = static_cast<unsigned long long>(host.winId());
  std::printf("host %llu\n", id);
  std::fflush(stdout);

  QProcess converter;
  QObject::connect(&converter, &QProcess::finished, &app, [&](int code, QProcess::ExitStatus) {
    std::printf("finished %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
    app.exit(code);
  });
  const QString handle = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString::number(id, 16).toUpper();
  converter.setProcessChannelMode(QProcess::ForwardedChannels);
  const long long started = QDateTime::currentMSecsSinceEpoch();
  converter.start(QString::fromLocal8Bit(argv[1]), {QString::fromLocal8Bit(argv[2]), handle});
  if (!converter.waitForStarted()) return 3;
  std::printf("started %lld\nconverter %lld\n", started, static_cast<long long>(converter.processId()));
  std::fflush(stdout);
  return app.exec();
}
