# One precompiled header of the Qt and standard headers the programs' sources
# share, compiled once and reused by every Qt Widgets library the run command
# builds: parsing these headers was most of each file's compile time.
add_library(harness_qt_pch STATIC ${CMAKE_CURRENT_LIST_DIR}/qtpch.cpp)
target_link_libraries(harness_qt_pch PRIVATE Qt6::Widgets)
set_target_properties(harness_qt_pch PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
target_precompile_headers(harness_qt_pch PRIVATE
    <QAccessible> <QApplication> <QColor> <QCoreApplication> <QElapsedTimer> <QFile> <QFileInfo>
    <QGuiApplication> <QImage> <QJsonArray> <QJsonDocument> <QJsonObject> <QKeyEvent> <QLabel>
    <QLineEdit> <QLoggingCategory> <QObject> <QPainter> <QPainterPath> <QPointer> <QPushButton>
    <QScreen> <QString> <QStringList> <QTimer> <QWidget>
    <functional> <memory> <optional> <vector>)

# harness_use_qt_pch(<target>...): the targets compile with the shared header.
function(harness_use_qt_pch)
    foreach(target ${ARGN})
        target_precompile_headers(${target} REUSE_FROM harness_qt_pch)
        # A header made with other flags would be skipped without a word.
        target_compile_options(${target} PRIVATE -Winvalid-pch)
    endforeach()
endfunction()
