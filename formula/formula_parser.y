/* Grammar of the formula language: LALR(1), one error rule at the outermost level. */
%require "3.8"
%define api.pure full
%define api.prefix {formula_}
%define api.token.prefix {TOKEN_}
%define parse.error simple
%expect 0

%parse-param {lumen::formula::detail::ParseState* state}
%lex-param {lumen::formula::detail::ParseState* state}

%code requires {
#include <cstdint>

#include "formula/parse_state.h"
}

%code {
#include "formula/builtin_table.h"

using lumen::formula::FormulaNode;
using lumen::formula::dispatchFor;
using lumen::formula::detail::makeLeaf;
using lumen::formula::detail::makeNode;
namespace codes = lumen::formula;

#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
#define YYMALLOC(bytes) lumen::formula::detail::allocateParserStack(*state, bytes)
#define YYFREE(stack) lumen::formula::detail::releaseParserStack(stack)

namespace {

int formula_lex(FORMULA_STYPE* value, lumen::formula::detail::ParseState* state) {
    return lumen::formula::detail::scanToken(&value->number, state->scanner);
}

// Failures are told by the result code; the place is kept for the editor's error marks.
void formula_error(lumen::formula::detail::ParseState* state, const char*) {
    state->errorOffset = lumen::formula::detail::lastTokenStart(state->scanner);
}

}  // namespace

// Builds a node into `target`; a failed allocation has released the operands already.
#define BUILD(target, node)                      \
    do {                                         \
        (target) = (node);                       \
        if (state->outOfMemory) YYABORT;         \
    } while (0)
#define UNARY(target, kind, operand) BUILD(target, makeNode(*state, kind, 0, {operand}))
#define BINARY(target, token, left, right)                                            \
    do {                                                                              \
        const auto dispatch = dispatchFor(token);                                     \
        BUILD(target, makeNode(*state, dispatch.kind, dispatch.index, {left, right})); \
    } while (0)
#define CALL(target, token, ...)                                                      \
    do {                                                                              \
        const auto dispatch = dispatchFor(token);                                     \
        BUILD(target, makeNode(*state, dispatch.kind, dispatch.index, {__VA_ARGS__})); \
    } while (0)
}

%union {
    int32_t number;
    lumen::formula::FormulaNode* node;
}

%destructor { lumen::formula::freeFormula($$); } <node>

%token SEQ 258
%token CASE 259
%token ABS 261 ADD 262 CNV 263 CTL 264 DIF 265 GET 266 PUT 267 MIN 268 MAX 269 MIX 270
%token RND 271 SCL 272 SQR 273 SRC 274 SUB 275 VAL 276 C2D 277 C2M 278 RAD 279 R2X 280
%token R2Y 281 SIN 282 COS 283 TAN 284 MAP 285 RST 286 TOTAL 287
%token DST 291 ICNV 293 XYCNV 294 SRCMODE 295 ARAD 296 ASRC 297 STORAGE 298 FRG 299 BKG 300
%token TRI 301 GAMMA 303 GAM 304 HMIN 305 HMAX 306 BELL 307 SBD 308 NBD 309 SGN 310 BMAP 311
%token GRAD 312 GRADIENT 313 HUE 314 TEXTURE 315 TEX 316 BMAPSIZE 317
%token OR 318 AND 319 XOR 320 BITOR 321 BITAND 322 EQ 323 NE 324 LE 325 GE 326 LT 327 GT 328
%token POW 329 SHL 330 SHR 331 NOT 334 BITNOT 335
%token <number> NUM 336

/* Loosest first; not C's order. */
%left SEQ
%right '?' ':'
%left AND OR
%left BITAND BITOR XOR
%left EQ NE LT GT LE GE
%left '+' '-'
%left '*' '/' '%'
%left POW
%right SHL SHR
%precedence UNARY

%type <node> expr case_expr case_list case_entry
%type <number> variable call1 call2 call3 call4 call5 call10 call12

%%

formula:
    expr            { state->root = $1; }
  | error           { YYABORT; }
  ;

case_entry:
    NUM ':' expr    { BUILD($$, makeNode(*state, codes::kCaseEntry, $1, {$3})); }
  ;

case_list:
    case_entry                  { $$ = $1; }
  | case_entry ',' case_list    { BUILD($$, makeNode(*state, codes::kCaseList, 0, {$1, $3})); }
  ;

case_expr:
    CASE '(' expr ',' case_list ')'  { BUILD($$, makeNode(*state, codes::kCase, 0, {$3, $5})); }
  ;

variable:
    'r' { $$ = 'r'; } | 'g' { $$ = 'g'; } | 'b' { $$ = 'b'; } | 'a' { $$ = 'a'; }
  | 'c' { $$ = 'c'; } | 't' { $$ = 't'; } | 'x' { $$ = 'x'; } | 'y' { $$ = 'y'; }
  | 'z' { $$ = 'z'; } | 'X' { $$ = 'X'; } | 'Y' { $$ = 'Y'; } | 'Z' { $$ = 'Z'; }
  | 'i' { $$ = 'i'; } | 'u' { $$ = 'u'; } | 'v' { $$ = 'v'; } | 'd' { $$ = 'd'; }
  | 'D' { $$ = 'D'; } | 'm' { $$ = 'm'; } | 'M' { $$ = 'M'; }
  | TOTAL { $$ = codes::kTotal; }
  ;

call1:
    SIN { $$ = codes::kSin; } | COS { $$ = codes::kCos; } | TAN { $$ = codes::kTan; }
  | CTL { $$ = codes::kCtl; } | GET { $$ = codes::kGet; } | ABS { $$ = codes::kAbs; }
  | SQR { $$ = codes::kSqr; } | TRI { $$ = codes::kTri; } | RST { $$ = codes::kRst; }
  | FRG { $$ = codes::kFrg; } | BKG { $$ = codes::kBkg; } | HMIN { $$ = codes::kHmin; }
  | HMAX { $$ = codes::kHmax; } | SGN { $$ = codes::kSgn; } | BELL { $$ = codes::kBell; }
  | GRADIENT { $$ = codes::kGradient; } | SRCMODE { $$ = codes::kSrcmode; }
  | STORAGE { $$ = codes::kStorage; }
  ;

call2:
    'i' { $$ = 'i'; } | PUT { $$ = codes::kPut; } | MIN { $$ = codes::kMin; }
  | MAX { $$ = codes::kMax; } | RND { $$ = codes::kRnd; } | C2D { $$ = codes::kC2d; }
  | C2M { $$ = codes::kC2m; } | R2X { $$ = codes::kR2x; } | R2Y { $$ = codes::kR2y; }
  | MAP { $$ = codes::kMap; } | GAM { $$ = codes::kGam; } | SBD { $$ = codes::kSbd; }
  | GRAD { $$ = codes::kGrad; } | TEX { $$ = codes::kTex; } | HUE { $$ = codes::kHue; }
  | DIF { $$ = codes::kDif; } | BMAPSIZE { $$ = codes::kBmapsize; }
  ;

call3:
    SRC { $$ = codes::kSrc; } | ASRC { $$ = codes::kAsrc; } | DST { $$ = codes::kDst; }
  | RAD { $$ = codes::kRad; } | ARAD { $$ = codes::kArad; } | VAL { $$ = codes::kVal; }
  | ADD { $$ = codes::kAdd; } | SUB { $$ = codes::kSub; } | GAMMA { $$ = codes::kGamma; }
  | NBD { $$ = codes::kNbd; } | BMAP { $$ = codes::kBmap; }
  ;

call4: MIX { $$ = codes::kMix; } ;

call5: SCL { $$ = codes::kScl; } | TEXTURE { $$ = codes::kTexture; } ;

call10: CNV { $$ = codes::kCnv; } | ICNV { $$ = codes::kIcnv; } ;

call12: XYCNV { $$ = codes::kXycnv; } ;

expr:
    case_expr               { $$ = $1; }
  | NUM                     { BUILD($$, makeLeaf(*state, codes::kNumber, $1)); }
  | variable                { BUILD($$, makeLeaf(*state, $1, 0)); }
  | expr '+' expr           { BINARY($$, '+', $1, $3); }
  | expr '-' expr           { BINARY($$, '-', $1, $3); }
  | expr '*' expr           { BINARY($$, '*', $1, $3); }
  | expr POW expr           { BINARY($$, codes::kPower, $1, $3); }
  | expr '/' expr           { BINARY($$, '/', $1, $3); }
  | expr '%' expr           { BINARY($$, '%', $1, $3); }
  | expr BITAND expr        { BINARY($$, codes::kBitAnd, $1, $3); }
  | expr BITOR expr         { BINARY($$, codes::kBitOr, $1, $3); }
  | expr XOR expr           { BINARY($$, codes::kBitXor, $1, $3); }
  | expr AND expr           { BINARY($$, codes::kLogicalAnd, $1, $3); }
  | expr OR expr            { BINARY($$, codes::kLogicalOr, $1, $3); }
  | expr EQ expr            { BINARY($$, codes::kEqual, $1, $3); }
  | expr NE expr            { BINARY($$, codes::kNotEqual, $1, $3); }
  | expr LE expr            { BINARY($$, codes::kLessEqual, $1, $3); }
  | expr GE expr            { BINARY($$, codes::kGreaterEqual, $1, $3); }
  | expr LT expr            { BINARY($$, codes::kLess, $1, $3); }
  | expr GT expr            { BINARY($$, codes::kGreater, $1, $3); }
  | expr SHL expr           { BINARY($$, codes::kShiftLeft, $1, $3); }
  | expr SHR expr           { BINARY($$, codes::kShiftRight, $1, $3); }
  | BITNOT expr %prec UNARY { UNARY($$, codes::kBitNot, $2); }
  | NOT expr %prec UNARY    { UNARY($$, codes::kLogicalNot, $2); }
  | '-' expr %prec UNARY    { UNARY($$, codes::kNegate, $2); }
  | '+' expr %prec UNARY    { UNARY($$, codes::kUnaryPlus, $2); }
  | expr '?' expr ':' expr  { BUILD($$, makeNode(*state, codes::kConditional, 0, {$1, $3, $5})); }
  | expr SEQ expr           { BINARY($$, codes::kSequence, $1, $3); }
  | '(' expr ')'            { $$ = $2; }
  | call1 '(' expr ')'      { CALL($$, $1, $3); }
  | call2 '(' expr ',' expr ')'  { CALL($$, $1, $3, $5); }
  | call3 '(' expr ',' expr ',' expr ')'  { CALL($$, $1, $3, $5, $7); }
  | call4 '(' expr ',' expr ',' expr ',' expr ')'  { CALL($$, $1, $3, $5, $7, $9); }
  | call5 '(' expr ',' expr ',' expr ',' expr ',' expr ')'  { CALL($$, $1, $3, $5, $7, $9, $11); }
  | call10 '(' expr ',' expr ',' expr ',' expr ',' expr ','
               expr ',' expr ',' expr ',' expr ',' expr ')'
        { CALL($$, $1, $3, $5, $7, $9, $11, $13, $15, $17, $19, $21); }
  | call12 '(' expr ',' expr ',' expr ',' expr ',' expr ',' expr ','
               expr ',' expr ',' expr ',' expr ',' expr ',' expr ')'
        { CALL($$, $1, $3, $5, $7, $9, $11, $13, $15, $17, $19, $21, $23, $25); }
  ;

%%
