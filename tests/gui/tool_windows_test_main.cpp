// Runs the rotation window's, the comment editor's and the shared window
// scaffold's tests in one program.

#include <QApplication>

int RunRotationWindowTests(int argc, char** argv);
int RunCommentWindowTests(int argc, char** argv);
int RunToolWindowScaffoldTests(int argc, char** argv);

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int rotation = RunRotationWindowTests(argc, argv);
  const int comment = RunCommentWindowTests(argc, argv);
  const int scaffold = RunToolWindowScaffoldTests(argc, argv);
  return rotation != 0 || comment != 0 || scaffold != 0 ? 1 : 0;
}
