// The toy target: a tiny 8-bit CPU and a two-pass assembler for it, with the object, map and
// listing files they share. Used by the project-manager stand-in (which builds) and the
// emulator stand-in (which runs). Plain C++: no framework, no support library.
//
// CPU: registers A B C D (8 bit), PC (16 bit), SP (8 bit, stack in RAM growing down from 0xFF),
// flags Z and C. Four memory spaces: code (64 KB), RAM (256 bytes), I/O (16 cells of 4 bits)
// and a table of 256 16-bit words.
//
// Instructions (r, s: A B C D; n: 8-bit value; a: 16-bit code address):
//   00 NOP  01 HALT  02 RET  03 CALL a  04 JMP a  05 JZ a  06 JNZ a  07 JC a
//   10+r LDI r,n        20+4r+s MOV r,s    30+4r+s ADD r,s    40+4r+s SUB r,s
//   50+r LD r,[n]       54+r ST [n],r      58+r IN r,p        5C+r OUT p,r
//   60+r LDT r,[n] (low byte to r, high byte to the next register)
//   64+r CMP r,n        68+r INC r         6C+r DEC r
// Directives: .org a, .db n,..., .data addr,n,... (RAM), .table index,w,... (table words),
// .equ name,value, .include "file", .embed "file", .equation name,"file" (an audio equation:
// name becomes the equation's number; every use of the name is a reference to it).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace toy {

enum Space { SPACE_CODE = 0, SPACE_RAM = 1, SPACE_IO = 2, SPACE_TABLE = 3 };

const uint32_t kCodeSize = 0x10000;
const uint32_t kRamSize = 256;
const uint32_t kIoSize = 16;
const uint32_t kTableSize = 256;
const size_t kMaxLineLength = 255;   // longer source lines are an error
// A source with its includes is an error beyond these; an assembly keeps at most kMaxMessages.
const size_t kMaxSourceLines = 200000;
const size_t kMaxSourceBytes = 16 * 1024 * 1024;
const size_t kMaxMessages = 1000;

// A run of bytes in one space; table segments hold little-endian words and address words.
struct Segment {
    int space = SPACE_CODE;
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
};

struct Cpu {
    enum StepResult { STEP_OK, STEP_HALT, STEP_BAD_OPCODE };

    uint8_t reg[4] = {0, 0, 0, 0};
    uint16_t pc = 0;
    uint8_t sp = 0xFF;
    bool zero = false;
    bool carry = false;
    bool halted = false;
    std::vector<uint8_t> code = std::vector<uint8_t>(kCodeSize, 0);
    std::vector<uint8_t> ram = std::vector<uint8_t>(kRamSize, 0);
    std::vector<uint8_t> io = std::vector<uint8_t>(kIoSize, 0);
    std::vector<uint16_t> table = std::vector<uint16_t>(kTableSize, 0);

    // Registers, flags and PC back to their start values; memory is kept.
    void Reset();
    // Copies segments into their spaces (bytes beyond a space's end are dropped).
    void Load(const std::vector<Segment>& segments);
    StepResult Step();
    // Steps until HALT, a bad opcode or maxSteps; returns the number of steps taken.
    int Run(int maxSteps);
};

// Length in bytes of the instruction with this opcode; 0 for an undefined opcode.
int InstructionLength(uint8_t opcode);
// One instruction as text ("LDI A,0x05"); "DB 0xNN" for an undefined opcode. *length gets its size.
std::string Disassemble(const uint8_t* bytes, size_t available, int* length);

enum MessageKind { MSG_WARNING = 2, MSG_ERROR = 3 };

struct Message {
    int kind = MSG_ERROR;
    std::string file;
    int line = 0;
    std::string text;
};

struct LineAddress {
    std::string file;
    int line = 0;
    uint32_t address = 0;
};

struct Symbol {
    std::string name;
    int space = SPACE_CODE;
    uint32_t value = 0;
};

struct Reference {
    std::string file;
    int line = 0;
};

// A file embedded by ".embed": where it was embedded from.
struct Embedded {
    std::string path;
    std::vector<Reference> references;
};

struct Equation {
    std::string name;
    std::string audioFile;
    std::vector<Reference> references;
};

struct ListingLine {
    bool hasCode = false;
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
    std::string source;
};

struct AssemblyResult {
    std::vector<Message> messages;
    int errors = 0;
    int warnings = 0;
    int messagesLeftOut = 0;   // counted in errors/warnings but not kept in messages
    bool stopped = false;
    std::vector<Segment> segments;
    std::vector<LineAddress> lines;
    std::vector<Symbol> symbols;
    std::vector<std::string> includes;   // full paths, first inclusion order, each once
    std::vector<Embedded> embedded;      // first embedding order, each once
    std::vector<Equation> equations;
    std::vector<ListingLine> listing;
};

class Assembler {
public:
    // Reads a source file; the default reads the disk. FALSE: the file cannot be read.
    std::function<bool(const std::string& path, std::string& text)> readFile;
    // Polled every few lines; true ends the assembly with result.stopped set.
    std::function<bool()> shouldStop;

    AssemblyResult Assemble(const std::string& path);
};

// Object files: "VTOB", version, segment count, part number, then the segments.
struct ObjectFile {
    std::string partNumber;
    std::vector<Segment> segments;
};
bool WriteObjectFile(const std::string& path, const ObjectFile& object);
bool ReadObjectFile(const std::string& path, ObjectFile& object);

// Map files: text lines "FILE n path", "LINE n line address", "SYM name space value".
struct MapFile {
    std::vector<LineAddress> lines;
    std::vector<Symbol> symbols;
};
bool WriteMapFile(const std::string& path, const AssemblyResult& result);
bool ReadMapFile(const std::string& path, MapFile& map);

// One listing line: display columns 0-14 "BB:AAAA", 15-23 the code bytes, 24 on the source.
std::string FormatListingLine(const ListingLine& line);
bool WriteListingFile(const std::string& path, const AssemblyResult& result);

bool ReadWholeFile(const std::string& path, std::string& bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace toy
