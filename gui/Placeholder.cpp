// Keeps the program's library non-empty until its first module lands.
namespace tessivar {
int placeholder() { return 0; }
}  // namespace tessivar
