// A generated unit for the benchmarks: `classes` classes of `methodsPerClass` methods each,
// declared in the interface and given a body each in the implementation.
#pragma once

#include <string>

namespace vesk::bench {

inline std::string BigUnit(int classes, int methodsPerClass) {
    std::string text = "unit Big;\n\ninterface\n\ntype\n";
    for (int c = 0; c < classes; ++c) {
        text += "  TGenerated" + std::to_string(c) +
                " = class(TComponent)\n  private\n    FValue: Integer;\n  public\n";
        for (int m = 0; m < methodsPerClass; ++m)
            text += "    procedure HandleEvent" + std::to_string(m) +
                    "(Sender: TObject; var Done: Boolean);\n";
        text += "  end;\n\n";
    }
    text += "implementation\n\n";
    for (int c = 0; c < classes; ++c)
        for (int m = 0; m < methodsPerClass; ++m)
            text += "procedure TGenerated" + std::to_string(c) + ".HandleEvent" +
                    std::to_string(m) +
                    "(Sender: TObject; var Done: Boolean);\nbegin\n  Done := True;\nend;\n\n";
    text += "end.\n";
    return text;
}

} // namespace vesk::bench
