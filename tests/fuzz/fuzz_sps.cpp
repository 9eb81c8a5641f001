#include "sps/SpsLayoutDetection.h"
#include "sps/SpsLines.h"
#include "sps/SpsScanner.h"
#include "sps/SpsSurveyCheck.h"
#include "sps/SpsSurveyMap.h"
#include "tests/fuzz/FuzzInput.h"

// An SPS file scanned under the built-in, the revision 2.1 and the detected layouts of every kind,
// then read as every file of a survey, checked, and a point looked for on its map.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SpsLines lines;
    if (!lines.setText(QByteArray(reinterpret_cast<const char*>(data), int(size))))
        return 0;
    const SpsScanner scanner(lines);
    SpsSurvey survey;
    for (const SpsKind kind : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
        const SpsLayout detected = SpsDetection::detect(kind, lines).layout;
        for (const SpsLayout& layout : {SpsLayout::defaults(kind), SpsLayout::revision21(kind), detected}) {
            static_cast<void>(scanner.diagnose(layout));
            static_cast<void>(scanner.dataLines(layout));
        }
        survey.read(lines, detected);
    }
    const SpsSurveyCheck check(survey);
    const SpsSurveyMap map(survey, check.findings());
    if (!map.isEmpty())
        static_cast<void>(map.nameAt(QPointF(32, 24), QSize(64, 48), map.fit(QSize(64, 48)), 4));
    return 0;
}
