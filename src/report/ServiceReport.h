#pragma once

// The service report: one A4 PDF that an engineer hands the customer with a
// machine. It says which configuration was set (name, file, date, the three
// block checksums), shows the boot screen as the controller shows it, drawn
// from the stored pixels in the LCD colours, with its title texts and faces,
// and lists every parameter by group with its value, unit and factory value,
// the changed ones marked. Its text is real text in an embedded CJK face, so
// it can be searched and copied.

#include "image/CfgHMK725.h"
#include "params/ParamValues.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace hmk {

struct ServiceReport
{
    QString fileName;   // the .hkf the configuration is or will be saved as
    QDateTime date;     // when the report is made
    QByteArray image;   // the whole image: its header, boot screen, checksums
    ParamValues values; // the parameters as the fields hold them
    ParamValues factory;
};

// The report of an image read from a file: its parameters as opening it puts
// them into the fields.
ServiceReport reportOfImage(const QByteArray& image, const QString& fileName,
                            const ParamValues& factory, const QDateTime& date);

// The report's texts, also for tests and the window.
inline const QString ReportTitle = QStringLiteral("HMK725 配置报告");
inline const QString ReportChangedMark = QStringLiteral("已修改");
inline const QString ReportNoParamsNote =
    QStringLiteral("此配置只设置开机画面，不设置参数：控制器保留其现有参数。");

// Writes the report as an A4 PDF, replacing `pdfPath` atomically: on any
// failure an existing file keeps its content and nothing half-written is
// left behind.
IoStatus writeServiceReport(const ServiceReport& report, const QString& pdfPath);

} // namespace hmk
