#include "platform/forms/FormFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vesk {
namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(VESK_SOURCE_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Same components, classes, names, nesting and property values.
void ExpectSameModel(const TComponent& a, const TComponent& b) {
    ASSERT_EQ(a.ClassName(), b.ClassName());
    ASSERT_EQ(a.Name(), b.Name());
    ASSERT_EQ(a.PropertyCount(), b.PropertyCount()) << a.Name();
    for (int i = 0; i < a.PropertyCount(); ++i) {
        const TProperty& p = a.Properties(i);
        const TProperty& q = b.Properties(i);
        EXPECT_EQ(p.Name, q.Name);
        if (p.Value.Kind == TValueKind::Float)
            EXPECT_DOUBLE_EQ(p.Value.Float, q.Value.Float) << p.Name;
        else
            EXPECT_TRUE(p.Value == q.Value) << a.Name() << "." << p.Name;
        EXPECT_EQ(p.Ref != nullptr, q.Ref != nullptr) << p.Name;
    }
    ASSERT_EQ(a.Children().size(), b.Children().size());
    for (std::size_t i = 0; i < a.Children().size(); ++i)
        ExpectSameModel(*a.Children()[i], *b.Children()[i]);
}

TEST(FormFileTest, FormsComeBackByteForByte) {
    for (const char* name :
         {"tests/platform/forms/data/AllKinds.dfm", "tests/platform/forms/data/AllKinds.bin.dfm",
          "tests/platform/forms/data/OrderEntry.bin.dfm", "examples/sample/MainForm.dfm",
          "examples/sample/OrderEntry.dfm"}) {
        const std::string bytes = Fixture(name);
        ASSERT_FALSE(bytes.empty()) << name;
        auto form = TFormFile::Parse(bytes);
        EXPECT_EQ(form->Save(), bytes) << name;
    }
    // Line ends, blank lines, odd spacing and no final line break are kept too.
    const std::string odd = "\xEF\xBB\xBFobject  A :TForm\r\n\r\n   Left=1\r\n  object B: TEdit\r"
                            "  end\r\n end  \r\n\r\n";
    EXPECT_EQ(TFormFile::Parse(odd)->Save(), odd);
    EXPECT_EQ(TFormFile::Parse("object A: TForm\nend")->Save(), "object A: TForm\nend");
}

TEST(FormFileTest, TextAndBinaryFormsReadAlike) {
    auto text = TFormFile::Parse(Fixture("tests/platform/forms/data/AllKinds.dfm"));
    auto binary = TFormFile::Parse(Fixture("tests/platform/forms/data/AllKinds.bin.dfm"));
    EXPECT_EQ(text->Format(), TFormFormat::Text);
    EXPECT_EQ(binary->Format(), TFormFormat::Binary);
    ExpectSameModel(*text->Root(), *binary->Root());
    auto sampleText = TFormFile::Parse(Fixture("examples/sample/OrderEntry.dfm"));
    auto sampleBinary = TFormFile::Parse(Fixture("tests/platform/forms/data/OrderEntry.bin.dfm"));
    ExpectSameModel(*sampleText->Root(), *sampleBinary->Root());
}

TEST(FormFileTest, ValuesOfEveryKind) {
    auto form = TFormFile::Parse(Fixture("tests/platform/forms/data/AllKinds.dfm"));
    const TComponent* root = form->Root();
    EXPECT_EQ(root->GetInt("Left"), -8);
    EXPECT_EQ(root->GetInt("Top"), 100000);
    EXPECT_EQ(root->GetInt("Big"), 5000000000);
    EXPECT_EQ(root->GetString("Caption"), "It's a \r\nform\t");
    EXPECT_EQ(root->GetString("Hint"), "a long text that goes on and on");
    EXPECT_EQ(root->FindProperty("Font.Style")->Value.Set,
              (std::vector<std::string>{"fsBold", "fsItalic"}));
    EXPECT_TRUE(root->FindProperty("Anchors")->Value.Set.empty());
    EXPECT_DOUBLE_EQ(root->FindProperty("Scale")->Value.Float, 1.5);
    EXPECT_DOUBLE_EQ(root->FindProperty("Ratio")->Value.Float, -2.5e-3);
    const TValue& items = root->FindProperty("Items.Strings")->Value;
    ASSERT_EQ(items.Items.size(), 3u);
    EXPECT_EQ(items.Items[1].Text, "second");
    EXPECT_EQ(root->FindProperty("Glyph.Data")->Value.Text, std::string("\x0ATBitmap\xFF\x00", 10));
    const TValue& columns = root->FindProperty("Columns")->Value;
    ASSERT_EQ(columns.Collection.size(), 2u);
    EXPECT_EQ(columns.Collection[0].Props[1].Name, "Title.Caption");
    EXPECT_EQ(columns.Collection[1].Props[0].Value.Text, "Two");
    EXPECT_TRUE(root->FindProperty("Empty")->Value.Collection.empty());
    const TComponent* frame = root->FindComponent("Frame1");
    EXPECT_EQ(frame->Stream.Kind, TStreamRecord::TKind::Inline);
    const TComponent* button = frame->FindComponent("Button1");
    EXPECT_EQ(button->Stream.Kind, TStreamRecord::TKind::Inherited);
    EXPECT_EQ(button->Stream.ChildPos, 2);
}

TEST(FormFileTest, OnlyWhatChangedIsWrittenAnew) {
    for (const char* name :
         {"tests/platform/forms/data/AllKinds.dfm", "tests/platform/forms/data/AllKinds.bin.dfm"}) {
        const std::string bytes = Fixture(name);
        auto form = TFormFile::Parse(bytes);
        TComponent* root = form->Root();
        TComponent* edit = root->FindComponent("Edit1");
        edit->SetName("edCustNo");
        edit->SetInt("Left", 300);
        auto* label = new TComponent("TLabel", root);
        label->SetName("lbCustNo");
        label->SetString("Caption", "Customer 'No'");
        label->SetRef("FocusControl", edit);
        label->SetParent(root);
        const std::string saved = form->Save();
        EXPECT_EQ(saved.substr(0, 200), bytes.substr(0, 200)) << name;

        auto again = TFormFile::Parse(saved);
        TComponent* edit2 = again->Root()->FindComponent("edCustNo");
        ASSERT_NE(edit2, nullptr) << name;
        EXPECT_EQ(edit2->GetInt("Left"), 300);
        EXPECT_EQ(edit2->GetString("DataField"), "CustNo");
        EXPECT_EQ(edit2->GetRef("DataSource"), again->Root()->FindComponent("DataSource1"));
        TComponent* label2 = again->Root()->FindComponent("lbCustNo");
        ASSERT_NE(label2, nullptr);
        EXPECT_EQ(label2->GetString("Caption"), "Customer 'No'");
        EXPECT_EQ(label2->GetRef("FocusControl"), edit2);
        EXPECT_EQ(again->Root()->Children().back(), label2);
        // The rest is untouched: the same model apart from the changes.
        EXPECT_EQ(again->Root()->FindProperty("Columns")->Value,
                  root->FindProperty("Columns")->Value);
        EXPECT_EQ(again->Save(), saved);
    }
}

TEST(FormFileTest, MalformedTextGivesItsLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "line 1: \"object\" expected"},
        {"objekt A: TForm\nend\n", "line 1: \"object\" expected"},
        {"object A: TForm\n  Left = 1\n", "line 3: \"end\" expected"},
        {"object A: TForm\n  Caption = 'open\nend\n", "line 2: unterminated string"},
        {"object A: TForm\n  Left 1\nend\n", "line 2: \"=\" expected"},
        {"object A: TForm\n  Data = {0A1}\nend\n", "line 2: odd number of hexadecimal digits"},
        {"object A: TForm\n  S = [a, b\nend\n", "line 3: \"]\" expected"},
        {"object A: TForm\n  L = (1 2\n", "line 3: \")\" expected"},
        {"object A: TForm\n  C = <x>\nend\n", "line 2: \"item\" expected"},
        {"object A: TForm\n  N = 99999999999999999999\nend\n", "line 2: number too large"},
        {"object A: TForm\n  object B: TEdit\n  end\n  Left = 1\nend\n",
         "line 4: property after a nested object"},
        {"object A: TForm\n  Caption = #99999999\nend\n", "line 2: bad character code"},
    };
    for (const auto& [text, message] : cases) {
        try {
            TFormFile::Parse(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const EFormError& e) {
            EXPECT_EQ(e.Message(), message) << text;
        }
    }
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += "object A: TPanel\n";
    EXPECT_THROW(TFormFile::Parse(deep), EFormError);
    std::string deepList = "object A: TForm\n  L = " + std::string(100000, '(');
    EXPECT_THROW(TFormFile::Parse(deepList), EFormError);
}

TEST(FormFileTest, MalformedBinaryGivesItsOffset) {
    const std::string bytes = Fixture("tests/platform/forms/data/AllKinds.bin.dfm");
    // Every cut of the file is an error, never a crash.
    for (std::size_t n = 0; n + 1 < bytes.size(); ++n)
        EXPECT_THROW(TFormFile::Parse(bytes.substr(0, n + (n < 4 ? 4 : 0))), EFormError) << n;
    // A length far beyond the file, and an unknown value type.
    const char hugeBytes[] = "TPF0\x05TForm\x01"
                             "A\x04"
                             "Data\x0A\xFF\xFF\xFF\x7F";
    const std::string huge(hugeBytes, sizeof hugeBytes - 1);
    try {
        TFormFile::Parse(huge);
        ADD_FAILURE();
    } catch (const EFormError& e) {
        EXPECT_EQ(e.Message(), "offset 22: unexpected end of the file");
    }
    // Forms saved as a resource: the header is kept, its size follows the data.
    const char resBytes[] = "\xFF\x0A\x00\xFF\x0A\x00\x30\x10\x0E\x00\x00\x00"
                            "TPF0\x05TForm\x01"
                            "A\x00\x00";
    const std::string res(resBytes, sizeof resBytes - 1);
    auto resForm = TFormFile::Parse(res);
    EXPECT_EQ(resForm->Save(), res);
    resForm->Root()->SetName("ABC");
    EXPECT_EQ(resForm->Save().substr(8, 4), std::string("\x10\x00\x00\x00", 4));
    for (std::size_t n = 3; n < res.size(); ++n)
        EXPECT_THROW(TFormFile::Parse(res.substr(0, n)), EFormError) << n;
    std::string unknown = std::string("TPF0\x05TForm\x01"
                                      "A\x01"
                                      "X\x63",
                                      15);
    try {
        TFormFile::Parse(unknown);
        ADD_FAILURE();
    } catch (const EFormError& e) {
        EXPECT_EQ(e.Message(), "offset 14: unknown value type 99");
    }
}

TEST(FormFileTest, FilesAreReplacedWhole) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vesk-forms-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "Form1.dfm").string();
    WriteFileAtomic(path, "object A: TForm\nend\n");
    auto form = TFormFile::LoadFromFile(path);
    form->Root()->SetName("B");
    form->SaveToFile(path);
    EXPECT_EQ(TFormFile::LoadFromFile(path)->Root()->Name(), "B");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_THROW(form->SaveToFile((dir / "missing" / "Form1.dfm").string()), EInOutError);
    EXPECT_THROW(TFormFile::LoadFromFile((dir / "none.dfm").string()), EInOutError);
    WriteFileAtomic(path, "object A: TForm\n  Left = \nend\n");
    try {
        TFormFile::LoadFromFile(path);
        ADD_FAILURE();
    } catch (const EFormError& e) {
        EXPECT_EQ(e.Message(), path + ": line 4: \"end\" expected");
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace vesk
